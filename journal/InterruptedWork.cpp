#include "journal/InterruptedWork.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <vector>

#include "app/AppState.h"
#include "app/GpsWait.h"
#include "app/Texts.h"
#include "app/WindowProc.h"
#include "app/WorkScreen.h"
#include "export/ShapefileExport.h"
#include "guidance/CurveLines.h"
#include "guidance/GuidanceLines.h"
#include "guidance/Projection.h"
#include "journal/LastSaveFolder.h"
#include "journal/WorkJournal.h"

namespace {

journal::JournalContents pending;

std::vector<std::uint8_t> readFile(const std::string& path, bool& exists) {
    std::ifstream in(path, std::ios::binary);
    exists = bool(in);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void renameAside(const std::string& path) {
    std::string name = path + ".damaged";
    for (int n = 1; std::filesystem::exists(name); ++n)
        name = path + ".damaged." + std::to_string(n);
    std::error_code ignored;
    std::filesystem::rename(path, name, ignored);
}

}  // namespace

bool offerInterruptedWork() {
    if (!journalEnabled()) return false;
    bool exists = false;
    std::string path = journalPath();
    std::vector<std::uint8_t> bytes = readFile(path, exists);
    if (!exists) return false;
    pending = journal::readJournal(bytes.data(), bytes.size());
    if (!pending.readable || !pending.started || !pending.originSet) {
        renameAside(path);
        return false;
    }
    std::strncpy(appState.promptText, messageText(kMsgResumeQuestion),
                 sizeof appState.promptText - 1);
    appState.confirmKind = kConfirmResume;
    appState.returnState = kStateStart;
    appState.screenState = kStateConfirm;
    return true;
}

bool loadJournalWork(const journal::JournalContents& work, bool newSegment) {
    resetWork();
    std::lock_guard lock(appState.frameLock);
    AppState& s = appState;
    s.implementWidth = work.implementWidth;
    s.implementHalfWidth = work.implementHalfWidth;
    setOrigin(work.originLonLat[0], work.originLonLat[1]);
    auto count = std::uint16_t(std::min<std::size_t>(work.strips.size(), kTrackCapacity));
    std::copy_n(work.strips.begin(), count, s.trackEdges);
    s.fixCount.store(count, std::memory_order_release);
    s.workFull = count >= kTrackCapacity ? 1 : 0;
    s.pauseMarks = work.pauseMarks;
    s.workedArea = work.area;
    s.distance = work.distance;
    s.paused = work.paused ? 1 : 0;
    if (work.pointASet) {
        s.pointA = work.pointA;
        s.pointASet = 1;
    }
    if (work.pointBSet) {
        s.pointB = work.pointB;
        setAbLine(s.guidance, s.pointA, s.pointB, work.spacing);
        // A curve guides along the line it was driven on, point for point.
        if (!work.curvePath.empty() && setCurvePath(s.curve, work.curvePath, work.spacing))
            s.curveActive = 1;
        s.abReady = 1;
    }
    if (work.viewSet) {
        s.zoom = work.zoom;
        s.northUp = work.northUp;
    }
    // The position is unknown until the next fix, which only seeds it: no step and no strip
    // spans the time the program was down.
    s.position = {};
    s.previousPosition = {};
    bool marked = false;
    if (newSegment && !work.paused && count > 0 &&
        (s.pauseMarks.empty() || s.pauseMarks.back() != count)) {
        s.pauseMarks.push_back(count);
        marked = true;
    }
    rebuildVehicleImage();
    recomputeView();
    return marked;
}

void resumeInterruptedWork() {
    bool marked = loadJournalWork(pending, true);
    journalContinue(pending.goodBytes);
    if (marked) {
        journalPause(appState.fixCount);
        journalUnpause();
    }
    appState.returnState = pending.workState();
    pending = {};
    startGpsWait();
}

std::string recoverInterruptedWork() {
    char stamp[32];
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "recovered-%Y%m%d-%H%M%S.shp", &local);
    std::string path = lastSaveFolder() + stamp;
    loadJournalWork(pending, false);
    bool written = exportShapefile(path) != 0;
    resetWork();
    if (!written) return {};
    // The file is whole and closed: only now does the journal go.
    std::error_code ignored;
    std::filesystem::remove(journalPath(), ignored);
    pending = {};
    return path;
}
