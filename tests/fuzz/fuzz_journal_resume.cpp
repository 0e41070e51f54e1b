// A work journal of any bytes, resumed as the program resumes one, then driven: 100 fixes go
// through the fix callback into the work it gave, from where the vehicle first was and then
// beside point A, and a frame of the work screen is drawn after each. Nothing a journal holds
// may crash the drive, make guidance lose its numbers or make a parallel out of its reach.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/AppState.h"
#include "app/FixPipeline.h"
#include "app/Texts.h"
#include "app/WorkScreen.h"
#include "app/WorkSession.h"
#include "gfx/Rasterizer.h"
#include "gfx/Surface.h"
#include "guidance/LineReach.h"
#include "guidance/Projection.h"
#include "journal/JournalReader.h"
#include "journal/JournalWorkKind.h"

namespace {

gfx::Surface* frame = nullptr;

// The screen the resumed work goes on in, as at start-up.
std::uint8_t screenOf(const journal::JournalContents& c) {
    if (c.kind == std::uint8_t(JournalWorkKind::Free)) return kStateFreeWork;
    return c.guided() ? kStateGuidance : kStateSettingAB;
}

void portraitLayout() {
    AppState& s = appState;
    s.layout.screenWidth = 240;
    s.layout.screenHeight = 320;
    s.layout.halfScreenWidth = 120;
    s.layout.halfScreenHeight = 160;
    s.layout.screenWidthLimit = 290;
    s.layout.screenHeightLimit = 370;
    s.layout.guideNumberRow = 256;
    s.layout.barHeight = 27;
    s.layout.arrowSpacing = 20;
    s.layout.textMargin = 2;
}

void drive(Vec2 at) {
    double lon = 0.0, lat = 0.0;
    if (!unprojectPoint(appState.projection, appState.work.plane, {at.x, at.y}, lon, lat)) return;
    GPS_POSITION fix;
    std::memset(&fix, 0, sizeof fix);
    fix.longitude = lon;
    fix.latitude = lat;
    fix.speed = 5.0f;
    fix.hdop = 1.0f;
    fix.fixQuality = 1;
    fix.satelliteCount = 8;
    processFix(fix, fixUseFor(appState.ui.screenState));
    gfx::Rasterizer r(frame);
    drawWorkScreen(r);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    installTexts();
    setUpProjection(appState.projection);
    openInverseProjection(appState.projection);
    portraitLayout();
    frame = gfx::CreateSurface(240, 320);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const journal::JournalContents c = journal::readJournal(data, size);
    // What start-up would set aside rather than offer.
    if (!c.readable || !c.started || !c.originSet) return 0;
    loadJournalWork(c, true);
    appState.ui.screenState = screenOf(c);
    if (!appState.work.plane.originSet) {
        resetWork();
        return 0;
    }
    const Vec2 a = c.pointASet ? c.pointA : Vec2{};
    for (int i = 0; i < 100; ++i) {
        // Weaving north from the first position, then across the lines beside A.
        const Vec2 at = i < 50 ? Vec2{400.0 * std::sin(i / 8.0), 15.0 * i}
                               : Vec2{a.x + 37.0 * (i - 50), a.y + 15.0 * (i - 50)};
        drive(at);
        const GuideResults& g = appState.guide;
        if (!std::isfinite(g.crossTrack)) std::abort();
        const WorkRecord& w = appState.work;
        const double spacing = w.curveActive ? w.curve.spacing : w.guidance.spacing;
        if (!g.lineTooFar && spacing > 0.0 && std::abs(g.guideNumber) > farthestParallel(spacing))
            std::abort();
        for (const CurveParallel& p : w.curve.cache)
            if (!p.line.empty() && std::abs(p.number) > farthestParallel(w.curve.spacing))
                std::abort();
    }
    resetWork();
    return 0;
}
