// Lines out of the work's reach, through the real fix callback: a saved work's line on another
// field 50 km away is refused on the first fix with its distance; a straight line left 4 km
// behind gives no guidance and makes no parallels, and guides again when the vehicle is back.
// Fixes are placed by PROJ's own UTM conversion, so the distances are the drive's own.
#include <gtest/gtest.h>

#include <mutex>
#include <string>

#include "app/AbPoints.h"
#include "app/AppState.h"
#include "app/FixPipeline.h"
#include "app/Texts.h"
#include "app/WorkScreen.h"
#include "gfx/Rasterizer.h"
#include "gfx/Surface.h"
#include "guidance/GuidanceLines.h"
#include "tests/app/PipelineTestSupport.h"
#include "tests/screens/FrameText.h"
#include "tests/screens/ScreenFixture.h"

namespace {

using pipeline_test::PlaneFixes;
constexpr gfx::Pixel kRed = 0xF800;

std::string redText() {
    AppState& s = appState;
    gfx::Font* font = s.layout.font;
    s.layout.font = screens_test::readableFont();
    screens_test::portraitLayout();
    gfx::Surface* surface = gfx::CreateSurface(240, 320);
    {
        gfx::Rasterizer r(surface);
        r.Clear(0);
        std::lock_guard lock(s.frameLock);
        drawWorkScreen(r);
    }
    struct Image {
        const gfx::Surface* surface;
        int width, height;
        gfx::Pixel at(int x, int y) const { return surface->pixel(x, y); }
    } image{surface, 240, 320};
    const std::string text = screens_test::joined(screens_test::drawnLines(image, kRed));
    gfx::DestroySurface(surface);
    s.layout.font = font;
    return text;
}

// A saved straight line running north, `east` decimetres east of the work's first fix.
void chooseSavedLine(const PlaneFixes& plane, double east) {
    double lon = 0, lat = 0;
    appState.ui.savedLineLonLat.clear();
    for (double north : {-1000.0, 1000.0}) {
        plane.lonLatOf({east, north}, lon, lat);
        appState.ui.savedLineLonLat.push_back(lon);
        appState.ui.savedLineLonLat.push_back(lat);
    }
    appState.ui.savedLinePattern = kPatternStraight;
}

TEST(FarLine, ASavedLine50KmAwayIsRefusedWithItsDistance) {
    installTexts();
    pipeline_test::resetWork(kStateSettingAB);
    PlaneFixes plane(8.55, 47.37);
    chooseSavedLine(plane, 500000.0);
    for (int i = 0; i < 4; ++i) onFix(plane.fixAt({0.0, 15.0 * i}));
    EXPECT_EQ(appState.ui.screenState, kStateSettingAB);
    EXPECT_FALSE(appState.work.pointASet);
    EXPECT_TRUE(appState.ui.savedLineLonLat.empty());  // not tried again with every fix
    EXPECT_NEAR(appState.ui.savedLineRefusedAt, 500000.0, 500.0);
    EXPECT_NE(redText().find("The saved line is 50.0 km away: not used"), std::string::npos)
        << redText();
    // Setting A takes the driver's own line, and the notice goes.
    {
        std::lock_guard lock(appState.frameLock);
        takeAbPoint();
    }
    EXPECT_TRUE(appState.work.pointASet);
    EXPECT_EQ(redText().find("50.0 km"), std::string::npos);

    // The same line 100 m away is taken: guidance at once, on line 0 of that line.
    pipeline_test::resetWork(kStateSettingAB);
    PlaneFixes near(8.55, 47.37);
    chooseSavedLine(near, 1000.0);
    for (int i = 0; i < 4; ++i) onFix(near.fixAt({0.0, 15.0 * i}));
    EXPECT_EQ(appState.ui.screenState, kStateGuidance);
    EXPECT_EQ(appState.ui.savedLineRefusedAt, 0.0);
    for (int i = 4; i < 8; ++i) onFix(near.fixAt({0.0, 15.0 * i}));
    EXPECT_FALSE(appState.guide.lineTooFar);
    EXPECT_EQ(appState.guide.guideNumber, -8);  // 1000 dm west of it, 120 dm apart: -8.33
    resetWork();
}

TEST(FarLine, AStraightLineLeftBehindGuidesAgainOnlyWithinReach) {
    installTexts();
    pipeline_test::resetWork(kStateGuidance);
    PlaneFixes plane(-93.61, 41.95);
    setAbLine(appState.work.guidance, {0.0, 0.0}, {0.0, 1000.0}, 120.0);
    appState.ui.abReady = 1;
    // 4 km east of the line, driving north: beyond 300 widths and beyond 3 km.
    for (int i = 0; i < 200; ++i) onFix(plane.fixAt({40000.0, 15.0 * i}));
    EXPECT_TRUE(appState.guide.lineTooFar);
    EXPECT_EQ(appState.guide.crossTrack, 0.0);
    EXPECT_EQ(appState.guide.arrowCount, 0);
    EXPECT_EQ(appState.work.strips.size(), 199u);  // recorded all the same
    EXPECT_NE(redText().find("Line too far"), std::string::npos);
    // No parallel was made out there: the cache holds only the lines set with A and B.
    EXPECT_LE(appState.work.guidance.lines.size(), 21u);
    // Back west, slanting north, to 2.5 km east: within 3 km, line 208 and 40 dm right of it
    // (208 * 120 = 24960).
    Vec2 at{40000.0, 3000.0};
    while (at.x > 25000.0) {
        at = at + Vec2{-14.0, 5.0};
        onFix(plane.fixAt({at.x, at.y}));
    }
    for (int i = 0; i < 20; ++i) onFix(plane.fixAt({25000.0, at.y + 15.0 * i}));
    EXPECT_FALSE(appState.guide.lineTooFar);
    EXPECT_EQ(appState.guide.guideNumber, 208);
    EXPECT_NEAR(appState.guide.crossTrack, 40.0, 0.5);
    EXPECT_EQ(redText().find("Line too far"), std::string::npos);
    resetWork();
}

}  // namespace
