#include "app/FieldSession.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/AppState.h"
#include "app/BackgroundWrites.h"
#include "app/FarmSession.h"
#include "app/FieldWork.h"
#include "app/FieldWorkSave.h"
#include "app/FixedNumber.h"
#include "app/GpsWait.h"
#include "app/Texts.h"
#include "app/WorkSession.h"
#include "export/GuideLineFile.h"
#include "farm/FarmBook.h"
#include "farm/FieldGeometry.h"
#include "farm/WorkGround.h"
#include "guidance/Projection.h"
#include "journal/WorkJournal.h"
#include "platform/Platform.h"

namespace {

// Earlier works drawn beneath a new one: the newest few tell the driver what he needs, and a
// season of them would fill the memory.
constexpr std::size_t kEarlierWorksDrawn = 5;

// What the farm thread prepares of a field for a work's plane.
struct Prepared {
    std::uint32_t serial = 0;
    FieldInPlane shape;
    CoverageMap earlier;
    // The continued work's ground, cut in triangles, and what it adds to the work's figures.
    bool continued = false;
    CoverageMap continuedMap;
    double continuedGround = 0.0;
    double continuedArea = 0.0;
    double continuedInField = 0.0;
    double continuedOverlap = 0.0;   // dm^2
    double continuedDistance = 0.0;  // dm
};

std::mutex mailLock;
std::optional<Prepared> prepared;
std::uint32_t workSerial = 0;

// A field the book made of a driven boundary, for the work that drove it.
std::int64_t drivenField = 0;
std::uint32_t drivenSerial = 0;

// The save of a field's work: 0 none, 1 running, 2 saved, 3 failed.
std::atomic<int> saveState{0};
std::string saveError;

std::string nowIso() {
    return isoUtc(std::time(nullptr));
}

// Beside the journal: the field of the work it holds, so that a work resumed after a crash is
// still its field's. The journal's own records know nothing of fields.
std::string fieldNotePath() {
    return journalPath() + ".field";
}

void writeFieldNote(const FieldWork& f) {
    if (!journalEnabled()) return;
    const std::string path = fieldNotePath();
    const std::string text = "field=" + std::to_string(f.fieldId) +
                             "\ncontinued=" + std::to_string(f.continuedWorkId) +
                             "\nstart=" + f.startTime + "\n";
    writeInBackground([path, text] {
        const std::string temporary = path + ".new";
        std::FILE* file = std::fopen(temporary.c_str(), "wb");
        if (!file) return false;
        const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
        const bool closed = std::fclose(file) == 0;
        return written && closed && std::rename(temporary.c_str(), path.c_str()) == 0;
    });
}

void removeFieldNote() {
    if (!journalEnabled()) return;
    const std::string path = fieldNotePath();
    writeInBackground([path] {
        std::remove(path.c_str());
        return true;
    });
}

void startWorkIn(std::uint8_t workState) {
    appState.ui.paused = 0;
    appState.ui.returnState = workState;
    resetWork();
}

// The field's works, newest first.
std::vector<const WorkEntry*> worksOf(std::int64_t fieldId) {
    std::vector<const WorkEntry*> works;
    for (const WorkEntry& w : farmContents().works)
        if (w.fieldId == fieldId) works.push_back(&w);
    std::sort(works.begin(), works.end(), [](const WorkEntry* a, const WorkEntry* b) {
        return a->endTime != b->endTime ? a->endTime > b->endTime : a->id > b->id;
    });
    return works;
}

void prepareInPlane() {
    AppState& s = appState;
    WorkPlane plane;
    FieldEntry entry;
    std::uint32_t serial;
    std::int64_t continued;
    {
        std::lock_guard lock(s.frameLock);
        FieldWork& f = workField;
        if (f.fieldId == 0 || f.entry.id != f.fieldId || f.inPlane || f.preparing ||
            !s.work.plane.originSet)
            return;
        f.preparing = 1;
        plane = s.work.plane;
        entry = f.entry;
        serial = f.serial;
        continued = f.continuedWorkId;
    }
    std::vector<std::int64_t> ids;
    double overlapHa = 0.0, distanceKm = 0.0;
    for (const WorkEntry* w : worksOf(entry.id)) {
        if (ids.size() < kEarlierWorksDrawn || w->id == continued) ids.push_back(w->id);
        if (w->id == continued) {
            overlapHa = w->overlapHa;
            distanceKm = w->distanceKm;
        }
    }
    postFarmJob([=](FarmBook* book, const std::string&) {
        auto toPlane = [&](const FieldShape& shape) {
            std::vector<std::vector<GroundPoint>> rings = ringsInPlane(shape, plane);
            return rings;
        };
        Prepared p;
        p.serial = serial;
        p.shape = fieldInPlane(toPlane(entry.boundary), toPlane(entry.headland));
        for (std::int64_t id : ids) {
            FieldShape ground;
            std::string error;
            if (!book || !book->readWorkGround(id, ground, error)) continue;
            const std::vector<StripQuad> triangles = trianglesInPlane(ground, plane);
            for (const StripQuad& t : triangles) p.earlier.add(t);
            if (id != continued) continue;
            p.continued = true;
            for (const StripQuad& t : triangles) {
                const double added = p.continuedMap.add(t);
                p.continuedGround += added;
                p.continuedArea += quadArea(t);
                p.continuedInField += added * p.shape.shareInside(t);
            }
            p.continuedOverlap = overlapHa * 1e6;
            p.continuedDistance = distanceKm * 1e4;
        }
        std::lock_guard lock(mailLock);
        prepared = std::move(p);
    });
}

// Puts the prepared field into the work. A continued work's ground goes into the work's own
// coverage: the strip recorded since the work started is filed again over it, so that each
// square metre still counts once.
void installPrepared() {
    std::optional<Prepared> ready;
    {
        std::lock_guard lock(mailLock);
        ready.swap(prepared);
    }
    if (!ready) return;
    AppState& s = appState;
    std::lock_guard lock(s.frameLock);
    FieldWork& f = workField;
    if (ready->serial != f.serial || f.fieldId == 0) return;
    f.preparing = 0;
    f.inPlane = 1;
    f.shape = std::move(ready->shape);
    f.earlier = std::move(ready->earlier);
    WorkRecord& w = s.work;
    double inField = 0.0;
    if (ready->continued) {
        double ground = ready->continuedGround;
        inField = ready->continuedInField;
        for (std::uint32_t id = 0; id < w.coverage.size(); ++id) {
            const StripQuad& q = w.coverage.quad(id);
            const double added = ready->continuedMap.add(q);
            ground += added;
            inField += added * f.shape.shareInside(q);
        }
        w.coverage = std::move(ready->continuedMap);
        w.groundArea = ground;
        w.workedArea += ready->continuedArea + ready->continuedOverlap;
        w.distance += ready->continuedDistance;
        w.segmentStart += ready->continuedDistance;
    } else {
        // The few quads of the work before the field was in its plane.
        for (std::uint32_t id = 0; id < w.coverage.size(); ++id)
            inField += quadArea(w.coverage.quad(id)) * f.shape.shareInside(w.coverage.quad(id));
    }
    f.groundInField = inField;
    s.ui.redrawPending = 1;
}

void adoptDrivenField() {
    std::int64_t id = 0;
    std::uint32_t serial = 0;
    {
        std::lock_guard lock(mailLock);
        id = drivenField;
        serial = drivenSerial;
    }
    // The book's copy comes with the reading after the write.
    const FieldEntry* entry = farmContents().field(id);
    if (!entry) return;
    AppState& s = appState;
    std::lock_guard lock(s.frameLock);
    if (workField.serial == serial && workField.fieldId == 0) {
        workField.fieldId = entry->id;
        workField.entry = *entry;
        workField.inPlane = 0;
        workField.preparing = 0;
        writeFieldNote(workField);
    }
    std::lock_guard mail(mailLock);
    if (drivenField == id) drivenField = 0;
}

}  // namespace

void beginWorkWithoutField(std::uint8_t workState) {
    removeFieldNote();
    startWorkIn(workState);
    {
        std::lock_guard lock(appState.frameLock);
        workField = FieldWork{};
        workField.serial = ++workSerial;
    }
    startGpsWait();
}

void beginFieldWork(std::uint8_t workState, std::int64_t fieldId, bool continueLast) {
    prepareFieldWork(workState, fieldId, continueLast);
    startGpsWait();
}

void prepareFieldWork(std::uint8_t workState, std::int64_t fieldId, bool continueLast) {
    const FieldEntry* entry = farmContents().field(fieldId);
    startWorkIn(workState);
    if (!entry) {
        std::lock_guard lock(appState.frameLock);
        workField = FieldWork{};
        workField.serial = ++workSerial;
        return;
    }
    {
        std::lock_guard lock(appState.frameLock);
        FieldWork f;
        f.fieldId = fieldId;
        f.entry = *entry;
        f.serial = ++workSerial;
        f.startTime = nowIso();
        if (continueLast) {
            const std::vector<const WorkEntry*> works = worksOf(fieldId);
            if (!works.empty()) {
                f.continuedWorkId = works.front()->id;
                f.startTime = works.front()->startTime;
            }
        }
        workField = std::move(f);
    }
    writeFieldNote(workField);
}

void beginBoundaryDrive(std::uint8_t workState) {
    prepareBoundaryDrive(workState);
    startGpsWait();
}

void prepareBoundaryDrive(std::uint8_t workState) {
    removeFieldNote();
    startWorkIn(workState);
    {
        std::lock_guard lock(appState.frameLock);
        FieldWork f;
        f.serial = ++workSerial;
        f.startTime = nowIso();
        const StoredSettings& settings = appState.settings;
        f.recorder.emplace(BoundarySource(settings.boundarySource),
                           settings.boundaryOffsetM * 10.0);
        workField = std::move(f);
    }
}

void finishBoundary() {
    AppState& s = appState;
    std::vector<GroundPoint> ring;
    WorkPlane plane;
    std::uint32_t serial;
    {
        std::lock_guard lock(s.frameLock);
        if (!workField.recorder) return;
        ring = workField.recorder->ring();
        workField.recorder.reset();
        plane = s.work.plane;
        serial = workField.serial;
        s.ui.redrawPending = 1;
    }
    if (ring.size() < 3 || !plane.originSet) return;
    // The ring in degrees, by the program's own transformation, before the work can move on.
    FieldPolygon polygon;
    openInverseProjection(s.projection);
    for (const GroundPoint& p : ring) {
        double lon = 0.0, lat = 0.0;
        if (unprojectPoint(s.projection, plane, {p.x, p.y}, lon, lat))
            polygon.outer.push_back({lon, lat});
    }
    closeInverseProjection(s.projection);
    if (polygon.outer.size() < 3) return;
    const int passes = s.settings.headlandPasses;
    const double width = s.settings.implementWidth / 100.0;
    const std::size_t known = farmContents().fields.size();
    postFarmJob([polygon = std::move(polygon), passes, width, known, serial](
                    FarmBook* book, const std::string& openError) {
        std::string error = openError;
        FieldEntry field;
        std::int64_t id = 0;
        if (book && makeFieldValid({polygon}, field.boundary, error)) {
            field.name = "Field " + std::to_string(known + 1);
            field.areaHa = fieldAreaM2(field.boundary) / 1e4;
            field.headlandPasses = passes;
            field.headlandWidthM = width;
            field.headland = headlandLine(field.boundary, passes * width);
            id = book->addField(field, error);
        }
        char text[200];
        if (id != 0)
            std::snprintf(text, sizeof text, messageText(kMsgNewField),
                          fixedNumber(field.areaHa, 2).c_str());
        else
            std::snprintf(text, sizeof text, "Farm book: %s", error.c_str());
        leaveFarmNotice(text);
        if (id != 0) {
            std::lock_guard lock(mailLock);
            drivenField = id;
            drivenSerial = serial;
        }
    });
    rereadFarmBook();
}

void stepFieldWork() {
    AppState& s = appState;
    bool closed = false;
    {
        std::lock_guard lock(s.frameLock);
        closed = workField.recorder && workField.recorder->closed();
    }
    if (closed) finishBoundary();
    bool driven = false;
    {
        std::lock_guard lock(mailLock);
        driven = drivenField != 0;
    }
    if (driven) adoptDrivenField();
    {
        // A resumed work knows its field's id before the book has been read.
        std::lock_guard lock(s.frameLock);
        if (workField.fieldId != 0 && workField.entry.id != workField.fieldId)
            if (const FieldEntry* entry = farmContents().field(workField.fieldId))
                workField.entry = *entry;
    }
    prepareInPlane();
    installPrepared();
}

bool workHasField() {
    return workField.fieldId != 0;
}

void saveFieldWorkToBook() {
    AppState& s = appState;
    FieldWorkCopy copy;
    std::optional<LineEntry> line;
    {
        std::lock_guard lock(s.frameLock);
        const FieldWork& f = workField;
        WorkEntry entry;
        entry.id = f.continuedWorkId;
        entry.fieldId = f.fieldId;
        entry.startTime = f.startTime.empty() ? nowIso() : f.startTime;
        entry.endTime = nowIso();
        entry.widthM = s.settings.implementWidth / 100.0;
        copy = copyFieldWork(s.work, entry);
        SavedGuideLine saved;
        if (guideLineOfWork(s.work, s.settings.guidancePattern, s.projection, saved) &&
            saved.lonLat.size() >= 4) {
            LineEntry l;
            l.fieldId = f.fieldId;
            l.pattern = saved.pattern;
            for (std::size_t i = 0; i + 1 < saved.lonLat.size(); i += 2)
                l.path.push_back({saved.lonLat[i], saved.lonLat[i + 1]});
            l.a = l.path.front();
            l.b = l.path.back();
            const double dx = (l.b.lon - l.a.lon) * std::cos(l.a.lat * M_PI / 180.0);
            const double dy = l.b.lat - l.a.lat;
            l.headingDeg = std::fmod(std::atan2(dx, dy) * 180.0 / M_PI + 360.0, 360.0);
            l.name = entry.endTime.substr(0, 10) + (l.pattern == kPatternCurve     ? " curve"
                                                    : l.pattern == kPatternHeading ? " heading"
                                                                                   : " AB");
            line = std::move(l);
        }
    }
    saveState = 1;
    postFieldWorkSave(std::move(copy), [](std::int64_t workId, std::string error) {
        {
            std::lock_guard lock(mailLock);
            saveError = std::move(error);
        }
        saveState = workId != 0 ? 2 : 3;
    });
    // A line is kept once: driving it again in a later work adds nothing.
    if (line)
        postFarmJob([line = std::move(*line)](FarmBook* book, const std::string&) {
            FarmContents contents;
            std::string error;
            if (!book || !book->read(contents, error)) return;
            for (const LineEntry& l : contents.lines)
                if (l.fieldId == line.fieldId && l.path.size() == line.path.size() &&
                    std::fabs(l.a.lon - line.a.lon) < 1e-7 &&
                    std::fabs(l.a.lat - line.a.lat) < 1e-7 &&
                    std::fabs(l.b.lon - line.b.lon) < 1e-7 &&
                    std::fabs(l.b.lat - line.b.lat) < 1e-7)
                    return;
            book->addLine(line, error);
        });
    rereadFarmBook();
}

bool pollFieldWorkSave(bool& saved) {
    const int state = saveState.load();
    if (state < 2) return false;
    saved = state == 2;
    saveState = 0;
    if (!saved) {
        std::string error;
        {
            std::lock_guard lock(mailLock);
            error = saveError;
        }
        platform::current().messageBox(("The work could not be saved into the farm book (" + error +
                                        "). It is kept: try again, or save it to a file.\n")
                                           .c_str());
    }
    return true;
}

void endFieldWork() {
    removeFieldNote();
    std::lock_guard lock(appState.frameLock);
    workField = FieldWork{};
    workField.serial = ++workSerial;
}

void resumeFieldOfWork() {
    FieldWork f;
    f.serial = ++workSerial;
    if (std::FILE* file = std::fopen(fieldNotePath().c_str(), "rb")) {
        char line[256];
        while (std::fgets(line, sizeof line, file)) {
            std::string text(line);
            while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
            const std::size_t equals = text.find('=');
            if (equals == std::string::npos) continue;
            const std::string key = text.substr(0, equals), value = text.substr(equals + 1);
            char* end = nullptr;
            const long long number = std::strtoll(value.c_str(), &end, 10);
            const bool isNumber = !value.empty() && end && *end == '\0' && number >= 0;
            if (key == "field" && isNumber) f.fieldId = number;
            if (key == "continued" && isNumber) f.continuedWorkId = number;
            if (key == "start" && value.size() < 40) f.startTime = value;
        }
        std::fclose(file);
    }
    std::lock_guard lock(appState.frameLock);
    workField = std::move(f);
}
