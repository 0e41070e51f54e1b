#include "journal/WorkJournal.h"

#include <algorithm>

#include <ctime>
#include <vector>

#include "guidance/Projection.h"
#include "journal/JournalFormat.h"
#include "journal/JournalWriter.h"

namespace {

journal::JournalWriter writer;
// Set and read by whoever holds frameLock or runs on the user-interface thread with no fix
// coming (start-up, the confirmation screen).
std::atomic<bool> open{false};
std::atomic<bool> enabled{false};
// The folder of Settings.dat (ending with '/'), asked for each time: it follows the settings.
std::string (*journalFolder)() = nullptr;

void record(journal::RecordType type, const journal::PayloadWriter& payload) {
    if (!open) return;
    // Small enough to stay on the stack's neighbourhood: one record, handed over at once.
    thread_local std::vector<std::uint8_t> bytes;
    bytes.clear();
    journal::appendRecord(bytes, type, payload);
    writer.append(bytes.data(), bytes.size());
}

// A name beside the journal for one that must not be overwritten: the time it was set aside.
std::string asideName(const std::string& path) {
    char stamp[32];
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, ".%Y%m%d-%H%M%S", &local);
    return path + stamp;
}

}  // namespace

void journalSetEnabled(bool on, std::string (*folder)()) {
    enabled = on;
    if (folder != nullptr) journalFolder = folder;
}

bool journalEnabled() {
    return enabled;
}

std::string journalPath() {
    return (journalFolder != nullptr ? journalFolder() : std::string()) + "work.journal";
}

void journalBeginWork(JournalWorkKind kind, const WorkRecord& work, std::uint16_t implementWidth,
                      std::uint16_t implementHalfWidth, JournalView view) {
    if (!enabled) return;
    if (open) {
        // An earlier work was neither saved nor discarded (its resume was cancelled): it stays
        // on the disk under another name, and the new work gets the journal.
        writer.setAside(asideName(journalPath()));
    }
    std::vector<std::uint8_t> bytes;
    journal::appendHeader(bytes);
    journal::PayloadWriter start;
    start.u8(static_cast<std::uint8_t>(kind));
    start.u16(implementWidth);
    start.u16(implementHalfWidth);
    journal::appendRecord(bytes, journal::kRecordWorkStart, start);
    journal::PayloadWriter origin;
    const double* originLonLat = work.plane.originLonLat;
    origin.f64(originLonLat[0]);
    origin.f64(originLonLat[1]);
    origin.i32(utmZoneForLongitude(originLonLat[0]).zone);
    origin.u8(originLonLat[1] < 0.0 ? 0 : 1);
    journal::appendRecord(bytes, journal::kRecordOrigin, origin);
    writer.create(journalPath());
    writer.append(bytes.data(), bytes.size());
    open = true;
    journalView(view);
}

void journalStripAdded(const WorkRecord& work) {
    if (!open || work.strips.empty()) return;
    journal::StripEntry entry{work.strips.back(), work.distance, work.workedArea};
    record(journal::kRecordStrip, journal::encodeStrip(entry));
}

void journalPause(std::uint32_t mark) {
    journal::PayloadWriter w;
    w.u32(mark);
    record(journal::kRecordPause, w);
    if (open) writer.syncSoon();
}

void journalUnpause() {
    record(journal::kRecordUnpause, {});
}

void journalPointA(Vec2 a) {
    journal::PayloadWriter w;
    w.f64(a.x);
    w.f64(a.y);
    record(journal::kRecordPointA, w);
    if (open) writer.syncSoon();
}

void journalPointB(Vec2 b, double spacing) {
    journal::PayloadWriter w;
    w.f64(b.x);
    w.f64(b.y);
    w.f64(spacing);
    record(journal::kRecordPointB, w);
    if (open) writer.syncSoon();
}

void journalCurvePath(const std::vector<Vec2>& path) {
    for (std::size_t at = 0; at < path.size(); at += journal::kCurvePointsPerRecord) {
        journal::PayloadWriter w;
        const std::size_t end = std::min(path.size(), at + journal::kCurvePointsPerRecord);
        for (std::size_t i = at; i < end; ++i) {
            w.f64(path[i].x);
            w.f64(path[i].y);
        }
        record(journal::kRecordCurvePoints, w);
    }
}

void journalView(JournalView view) {
    journal::PayloadWriter w;
    w.f32(view.zoom);
    w.u8(view.northUp);
    record(journal::kRecordView, w);
}

void journalSections(std::uint8_t master, const std::vector<std::uint8_t>& forces) {
    journal::PayloadWriter w;
    w.u8(master);
    for (std::uint8_t f : forces) w.u8(f);
    record(journal::kRecordSections, w);
}

void journalSyncSoon() {
    if (open) writer.syncSoon();
}

void journalEndWork() {
    if (!open) return;
    open = false;
    writer.remove();
}

void journalContinue(std::uint64_t goodBytes) {
    writer.reopen(journalPath(), goodBytes);
    open = true;
}

bool journalFlush() {
    return writer.flush();
}

void journalStop() {
    writer.stop();
    open = false;
}

bool journalOpen() {
    return open;
}

bool journalTakeFailureNotice() {
    return writer.takeFailureNotice();
}
