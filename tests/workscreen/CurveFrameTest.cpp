// The curved lines on the work screen: each segment on the screen is drawn thick in red where
// the view puts it, its vertices joined without a gap.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "WorkScene.h"
#include "app/ViewTransform.h"
#include "app/WorkScreen.h"

namespace {

using workscene::Canvas;
constexpr gfx::Pixel kRed = 0xF800;

// Guidance along a curve, seen north up without the vehicle, with two stored fixes far off the
// screen so that only the curves land on it.
void curveGuidanceScene() {
    workscene::reset(240, 320, 0);
    AppState& s = appState;
    s.ui.screenState = kStateGuidance;
    s.ui.abReady = 1;
    s.view.northUp = 1;
    s.settings.showVehicle = 0;
    const TrackEdge edges[] = {{90000, 90000, 90100, 90000}, {90000, 90100, 90100, 90100}};
    s.work.strips.assign(edges, 2);
    s.work.curveActive = 1;
}

TEST(CurveFrame, ThreeCurvesDrawnWhereTheViewPutsThem) {
    curveGuidanceScene();
    AppState& s = appState;
    s.guide.guideNumber = 4;
    s.settings.showGuideNumbers = 1;
    // Arcs around a centre 300 dm east of the vehicle, radius 300 (followed), 270 (left, 3) and
    // 330 (right, 5), as segment pairs; one far segment that must not be drawn.
    const double radii[3] = {300.0, 270.0, 330.0};
    for (int k = 0; k < 3; ++k) {
        s.guide.curveLinesWorld[k].clear();
        for (int i = -8; i < 8; ++i) {
            const double a0 = M_PI + i * 0.02, a1 = M_PI + (i + 1) * 0.02;
            s.guide.curveLinesWorld[k].push_back(
                {300.0 + radii[k] * std::cos(a0), radii[k] * std::sin(a0)});
            s.guide.curveLinesWorld[k].push_back(
                {300.0 + radii[k] * std::cos(a1), radii[k] * std::sin(a1)});
        }
    }
    s.guide.curveLinesWorld[0].push_back({5000.0, 5000.0});
    s.guide.curveLinesWorld[0].push_back({5000.0, 5100.0});
    recomputeView();
    ASSERT_EQ(s.view.curveLinesScreen[0].size(), s.guide.curveLinesWorld[0].size());
    Canvas canvas(240, 320);
    drawWorkScreen(*canvas.raster);
    for (int k = 0; k < 3; ++k) {
        for (std::size_t i = 0; i + 1 < 32; i += 2) {
            const ScreenPoint a = s.view.curveLinesScreen[k][i];
            if (a.x < 0 || a.x >= 240 || a.y < 0 || a.y >= 320) continue;
            // The implement bar is drawn across the vehicle's row, over the line.
            if (std::abs(a.y - s.layout.halfScreenHeight) <= 2) continue;
            EXPECT_EQ(canvas.at(a.x, a.y), kRed)
                << "line " << k << " point " << i << " at " << a.x << "," << a.y;
        }
    }
    s.work.curveActive = 0;
    for (auto& line : s.guide.curveLinesWorld) line.clear();
    for (auto& line : s.view.curveLinesScreen) line.clear();
}

// A curve that runs straight along a screen column or row is drawn as one straight guide line
// would be: its vertices leave no notch in either edge and add nothing beside it.
TEST(CurveFrame, StraightRunLooksLikeOneStraightLine) {
    for (const bool vertical : {true, false}) {
        SCOPED_TRACE(vertical ? "vertical" : "horizontal");
        curveGuidanceScene();
        AppState& s = appState;
        s.settings.showGuideNumbers = 0;
        // Segments of 13 dm end to end, 40 dm beside the vehicle.
        s.guide.curveLinesWorld[0].clear();
        for (int i = -6; i < 6; ++i) {
            const double from = 13.0 * i, to = 13.0 * (i + 1);
            s.guide.curveLinesWorld[0].push_back(vertical ? Vec2{40.0, from} : Vec2{from, 40.0});
            s.guide.curveLinesWorld[0].push_back(vertical ? Vec2{40.0, to} : Vec2{to, 40.0});
        }
        recomputeView();
        const ScreenPoint first = s.view.curveLinesScreen[0].front();
        const ScreenPoint last = s.view.curveLinesScreen[0].back();
        ASSERT_EQ(vertical ? first.x - last.x : first.y - last.y, 0) << "straight on the screen";
        Canvas frame(240, 320);
        drawWorkScreen(*frame.raster);
        Canvas line(240, 320);
        line.raster->DrawThickLine(first.x, first.y, last.x, last.y, kRed);
        // Along the run between its ends, 6 pixels either side of it; the implement bar crosses
        // the vehicle's row.
        const int from = std::min(vertical ? first.y : first.x, vertical ? last.y : last.x) + 3;
        const int to = std::max(vertical ? first.y : first.x, vertical ? last.y : last.x) - 3;
        const int across = vertical ? first.x : first.y;
        int differing = 0;
        for (int along = from; along <= to; ++along) {
            for (int side = across - 6; side <= across + 6; ++side) {
                const int x = vertical ? side : along, y = vertical ? along : side;
                if (std::abs(y - s.layout.halfScreenHeight) <= 3) continue;
                if ((frame.at(x, y) == kRed) != (line.at(x, y) == kRed) && ++differing <= 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << " is "
                                  << (frame.at(x, y) == kRed ? "red" : "not red");
            }
        }
        EXPECT_EQ(differing, 0);
        s.work.curveActive = 0;
        for (auto& l : s.guide.curveLinesWorld) l.clear();
        for (auto& l : s.view.curveLinesScreen) l.clear();
    }
}

}  // namespace
