#include "app/WorkSession.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <vector>

#include "app/AppState.h"
#include "app/FieldSession.h"
#include "app/GpsWait.h"
#include "app/LastSaveFolder.h"
#include "app/SectionControl.h"
#include "app/Texts.h"
#include "app/ViewTransform.h"
#include "app/WindowProc.h"
#include "app/WorkScreen.h"
#include "export/ShapefileExport.h"
#include "guidance/CurveLines.h"
#include "guidance/GuidanceLines.h"
#include "guidance/Projection.h"
#include "guidance/WorkedStrip.h"
#include "journal/WorkJournal.h"

namespace {

journal::JournalContents pending;

std::vector<std::uint8_t> readFile(const std::string& path, bool& exists) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    exists = bool(in);
    if (!exists) return {};
    // In one read of its size: the journal of a long work runs to tens of megabytes.
    std::vector<std::uint8_t> bytes(std::size_t(std::max<std::streamoff>(in.tellg(), 0)));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    bytes.resize(std::size_t(std::max<std::streamsize>(in.gcount(), 0)));
    return bytes;
}

void renameAside(const std::string& path) {
    std::string name = path + ".damaged";
    for (int n = 1; std::filesystem::exists(name); ++n)
        name = path + ".damaged." + std::to_string(n);
    std::error_code ignored;
    std::filesystem::rename(path, name, ignored);
}

// The screen the work goes on in.
std::uint8_t screenOfWork(const journal::JournalContents& work) {
    if (work.kind == std::uint8_t(JournalWorkKind::Free)) return kStateFreeWork;
    return work.guided() ? kStateGuidance : kStateSettingAB;
}

}  // namespace

void resetWork() {
    std::lock_guard lock(appState.frameLock);
    AppState& s = appState;
    s.work = WorkRecord{};
    s.guide = GuideResults{};
    s.view.forgetWork();
    s.ui.savedLineRefusedAt = 0.0;
    s.ui.promptBlink = 1;
    configureSectionsFromSettings();
}

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
    std::strncpy(appState.ui.promptText, messageText(kMsgResumeQuestion),
                 sizeof appState.ui.promptText - 1);
    appState.ui.confirmKind = kConfirmResume;
    appState.ui.returnState = kStateStart;
    appState.ui.screenState = kStateConfirm;
    return true;
}

bool loadJournalWork(const journal::JournalContents& work, bool newSegment) {
    resetWork();
    std::lock_guard lock(appState.frameLock);
    AppState& s = appState;
    s.settings.implementWidth = work.implementWidth;
    s.settings.implementHalfWidth = work.implementHalfWidth;
    // The sections for the work's own width, with the master and forces it had.
    configureSectionsFromSettings();
    if (work.sectionsSet) restoreSectionStates(work.sectionMaster, work.sectionForces);
    setOrigin(appState.projection, appState.work.plane, work.originLonLat[0], work.originLonLat[1]);
    s.work.strips.assign(work.strips.data(), work.strips.size());
    // Short only when memory ran out: the work screen says that recording has stopped.
    s.work.workFull = s.work.strips.size() < work.strips.size() || s.work.strips.full() ? 1 : 0;
    s.work.pauseMarks = work.pauseMarks;
    s.work.distance = work.distance;
    // The area and the ground are those of the records, counted again as the coverage is
    // rebuilt.
    coverNewRecords(s.work);
    s.ui.paused = work.paused ? 1 : 0;
    if (work.pointASet) {
        s.work.pointA = work.pointA;
        s.work.pointASet = 1;
    }
    if (work.pointBSet) {
        s.work.pointB = work.pointB;
        setAbLine(s.work.guidance, s.work.pointA, s.work.pointB, work.spacing);
        // A curve guides along the line it was driven on, point for point.
        if (!work.curvePath.empty() && setCurvePath(s.work.curve, work.curvePath, work.spacing))
            s.work.curveActive = 1;
        s.ui.abReady = 1;
    }
    if (work.viewSet) {
        s.settings.zoom = work.zoom;
        s.view.northUp = work.northUp;
    }
    // The position is unknown until the next fix, which only seeds it: no step and no strip
    // spans the time the program was down.
    s.work.position = {};
    s.work.previousPosition = {};
    const std::uint32_t count = s.work.strips.size();
    bool marked = false;
    if (newSegment && !work.paused && count > 0 &&
        (s.work.pauseMarks.empty() || s.work.pauseMarks.back() != count)) {
        s.work.pauseMarks.push_back(count);
        marked = true;
    }
    rebuildVehicleImage();
    recomputeView();
    return marked;
}

void resumeInterruptedWork() {
    bool marked = loadJournalWork(pending, true);
    resumeFieldOfWork();
    journalContinue(pending.goodBytes);
    if (marked) {
        journalPause(appState.work.strips.size());
        journalUnpause();
    }
    appState.ui.returnState = screenOfWork(pending);
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
    bool written = exportShapefile(path, appState.work, appState.projection) != 0;
    resetWork();
    if (!written) return {};
    // The file is whole and closed: only now does the journal go.
    std::error_code ignored;
    std::filesystem::remove(journalPath(), ignored);
    std::filesystem::remove(journalPath() + ".field", ignored);
    pending = {};
    return path;
}
