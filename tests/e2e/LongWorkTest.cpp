// Forty passes driven by gpssim and then seen zoomed out, heading up and north up: every pass
// is on the screen, and the panel counts the ground of passes side by side once.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "FrameChecks.h"
#include "IsolatedRun.h"
#include "ProgramHarness.h"
#include "Receiver.h"
#include "app/ViewTransform.h"

namespace {

using namespace std::chrono_literals;

// Passes of 30 m one implement width (12 m) apart at 216 km/h: a pass and its turn take under
// a second, so forty of them about half a minute.
const std::vector<std::string> kField = {"--rate",   "10", "--speed",   "216",
                                         "--length", "30", "--spacing", "12"};
constexpr int kPasses = 40;

// The share of the strip's centre points that the frame shows over the track (its colour or a
// black edge), away from the work buttons and the panel.
double shareDrawn(const QImage& frame) {
    std::lock_guard lock(appState.frameLock);
    const AppState& s = appState;
    const int row = s.layout.textMargin + 2 * 16;
    int seen = 0, drawn = 0;
    for (std::uint32_t r = 0; r < s.work.strips.size(); ++r) {
        const TrackEdge& e = s.work.strips[r];
        const ScreenPoint p =
            worldToScreen(PlanePoint{(e.leftX + e.rightX) / 2, (e.leftY + e.rightY) / 2});
        if (p.x < 1 || p.y <= row || p.x >= frame.width() - 1 || p.y >= frame.height() - 1)
            continue;
        bool underButton = false;
        for (const ButtonRect* b :
             {&s.layout.btnZoomIn, &s.layout.btnZoomOut, &s.layout.btnWorkMenu,
              &s.layout.btnViewToggle, &s.layout.btnFinish})
            underButton = underButton || b->contains(p.x, p.y);
        if (underButton) continue;
        ++seen;
        if (countPixels(frame, QRect(p.x - 1, p.y - 1, 3, 3), trackPixel()) > 0 ||
            countPixels(frame, QRect(p.x - 1, p.y - 1, 3, 3), 0) > 0)
            ++drawn;
    }
    return seen ? double(drawn) / seen : 0.0;
}

}  // namespace

TEST(EndToEnd, FortyPassesZoomedOutAreAllDrawn) {
    if (!isolatedRun()) return;
    const std::string dir = privateFolder();
    SimulatedReceiver receiver(dir + "/gps");
    ASSERT_TRUE(receiver.plugIn(kField));
    RunningProgram program;
    ASSERT_TRUE(program.open(receiver.link()));
    program.tap(appState.layout.btnStartFree);
    ASSERT_TRUE(program.reaches(kStateFreeWork, 40s));
    // A pass and a turn are 30 m + 6 m x pi of driving.
    const double lap = 300.0 + 60.0 * M_PI;
    ASSERT_TRUE(waitUntil(
        [&] { return underFrameLock([] { return appState.work.distance; }) > kPasses * lap; },
        120s));
    receiver.unplug();
    // Zoomed out until the whole field, 480 m across, is in half the screen's width.
    for (int taps = 0;
         taps < 100 && appState.settings.zoom * 4800.0f > appState.layout.halfScreenWidth; ++taps)
        program.tap(appState.layout.btnZoomOut);
    ASSERT_LE(appState.settings.zoom * 4800.0f, appState.layout.halfScreenWidth);
    for (int view = 0; view < 2; ++view) {
        double share = 0.0;
        EXPECT_TRUE(program.frameWhere([&](const QImage& f) {
            share = shareDrawn(f);
            return share > 0.98;
        })) << (view ? "north up" : "heading up")
            << ": " << share << " of the strip drawn";
        program.tap(appState.layout.btnViewToggle);
    }
    // Passes side by side: the ground is about the passes' and the turns', counted once.
    const double ground = underFrameLock([] { return appState.work.groundArea; });
    const double worked = underFrameLock([] { return appState.work.workedArea; });
    EXPECT_LT(ground, worked);
    EXPECT_GT(ground, kPasses * 300.0 * 120.0 * 0.9);
    program.close();
}
