// The curved lines on the work screen: each segment on the screen is drawn thick in red where
// the view puts it, its vertices joined without a gap.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "WorkScene.h"
#include "app/WorkScreen.h"

namespace {

using workscene::Canvas;
constexpr gfx::Pixel kRed = 0xF800;

TEST(CurveFrame, ThreeCurvesDrawnWhereTheViewPutsThem) {
    workscene::reset(240, 320, 0);
    AppState& s = appState;
    s.screenState = kStateGuidance;
    s.abReady = 1;
    s.northUp = 1;
    s.showVehicle = 0;
    s.trackEdges[0] = {90000, 90000, 90100, 90000};
    s.trackEdges[1] = {90000, 90100, 90100, 90100};
    s.fixCount = 2;
    s.curveActive = 1;
    s.guideNumber = 4;
    s.showGuideNumbers = 1;
    // Arcs around a centre 300 dm east of the vehicle, radius 300 (followed), 270 (left, 3) and
    // 330 (right, 5), as segment pairs; one far segment that must not be drawn.
    const double radii[3] = {300.0, 270.0, 330.0};
    for (int k = 0; k < 3; ++k) {
        s.curveLinesWorld[k].clear();
        for (int i = -8; i < 8; ++i) {
            const double a0 = M_PI + i * 0.02, a1 = M_PI + (i + 1) * 0.02;
            s.curveLinesWorld[k].push_back(
                {300.0 + radii[k] * std::cos(a0), radii[k] * std::sin(a0)});
            s.curveLinesWorld[k].push_back(
                {300.0 + radii[k] * std::cos(a1), radii[k] * std::sin(a1)});
        }
    }
    s.curveLinesWorld[0].push_back({5000.0, 5000.0});
    s.curveLinesWorld[0].push_back({5000.0, 5100.0});
    recomputeView();
    ASSERT_EQ(s.curveLinesScreen[0].size(), s.curveLinesWorld[0].size());
    Canvas canvas(240, 320);
    drawWorkScreen(*canvas.raster);
    for (int k = 0; k < 3; ++k) {
        for (std::size_t i = 0; i + 1 < 32; i += 2) {
            const ScreenPoint a = s.curveLinesScreen[k][i];
            if (a.x < 0 || a.x >= 240 || a.y < 0 || a.y >= 320) continue;
            // The implement bar is drawn across the vehicle's row, over the line.
            if (std::abs(a.y - s.halfScreenHeight) <= 2) continue;
            EXPECT_EQ(canvas.at(a.x, a.y), kRed)
                << "line " << k << " point " << i << " at " << a.x << "," << a.y;
        }
    }
    s.curveActive = 0;
    for (auto& line : s.curveLinesWorld) line.clear();
    for (auto& line : s.curveLinesScreen) line.clear();
}

}  // namespace
