#include "app/FieldWorkSave.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "app/FarmSession.h"
#include "farm/FarmBook.h"
#include "farm/WorkGround.h"
#include "guidance/WorkRecord.h"

FieldWorkCopy copyFieldWork(const WorkRecord& work, WorkEntry entry) {
    FieldWorkCopy copy;
    // The work's own figures, as the panel shows them: dm^2 and dm.
    entry.groundHa = work.groundArea * 1e-6;
    entry.overlapHa = std::max(work.workedArea - work.groundArea, 0.0) * 1e-6;
    entry.distanceKm = work.distance * 1e-4;
    copy.entry = std::move(entry);
    const std::uint32_t count = work.coverage.size();
    copy.quads.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) copy.quads.push_back(work.coverage.quad(i));
    copy.plane = work.plane;
    return copy;
}

void postFieldWorkSave(FieldWorkCopy copy, FieldWorkSaved saved) {
    postFarmJob([copy = std::move(copy), saved = std::move(saved)](FarmBook* book,
                                                                   const std::string& openError) {
        if (!book) {
            if (saved) saved(0, openError);
            return;
        }
        // The union runs here, on the farm thread: a day's work of quads takes seconds.
        const FieldShape ground = groundOfQuads(copy.quads, copy.plane);
        std::string error;
        if (ground.empty() && !copy.quads.empty()) error = "the work's ground could not be made";
        const std::int64_t id = error.empty() ? book->saveWork(copy.entry, ground, error) : 0;
        if (saved) saved(id, id != 0 ? std::string() : error);
    });
}

void saveFieldWork(const WorkRecord& work, WorkEntry entry, FieldWorkSaved saved) {
    postFieldWorkSave(copyFieldWork(work, std::move(entry)), std::move(saved));
}

std::string isoUtc(int year, int month, int day, int hour, int minute, int second) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", year, month, day, hour,
                  minute, second);
    return text;
}

std::string isoUtc(std::time_t time) {
    std::tm utc{};
    gmtime_r(&time, &utc);
    return isoUtc(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min,
                  utc.tm_sec);
}
