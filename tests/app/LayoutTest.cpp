// The button table for both orientations and both layouts, with the 479 / 480 boundary.
#include <gtest/gtest.h>

#include <tuple>

#include "app/AppState.h"
#include "app/Layout.h"

namespace {

struct Rect4 {
    int left, top, right, bottom;
};

void setScreen(int width, int height, unsigned orientation) {
    appState.layout.screenWidth = std::uint16_t(width);
    appState.layout.screenHeight = std::uint16_t(height);
    appState.layout.orientation = orientation;
    computeScreenMetrics();
    computeLayout();
}

void expectRect(const ButtonRect& r, Rect4 want, const char* name) {
    EXPECT_EQ(r.left, want.left) << name;
    EXPECT_EQ(r.top, want.top) << name;
    EXPECT_EQ(r.right, want.right) << name;
    EXPECT_EQ(r.bottom, want.bottom) << name;
}

TEST(Layout, PortraitNormal240x320) {
    setScreen(240, 320, 0);
    EXPECT_FALSE(appState.layout.wideLayout);
    EXPECT_EQ(appState.layout.halfScreenWidth, 120);
    EXPECT_EQ(appState.layout.halfScreenHeight, 160);
    EXPECT_EQ(appState.layout.guideNumberRow, 256);
    EXPECT_EQ(appState.layout.screenWidthLimit, 290);
    EXPECT_EQ(appState.layout.screenHeightLimit, 370);
    EXPECT_EQ(appState.layout.barHeight, 27);
    EXPECT_EQ(appState.layout.arrowSpacing, 20);
    EXPECT_EQ(appState.layout.textMargin, 2);
    expectRect(appState.layout.btnFinish, {0, 272, 48, 320}, "finish");
    expectRect(appState.layout.btnWorkMenu, {48, 272, 96, 320}, "menu");
    expectRect(appState.layout.btnViewToggle, {96, 272, 144, 320}, "view");
    expectRect(appState.layout.btnZoomOut, {144, 272, 192, 320}, "zoom out");
    expectRect(appState.layout.btnZoomIn, {192, 272, 240, 320}, "zoom in");
    expectRect(appState.layout.btnStartFree, {50, 20, 190, 60}, "free");
    expectRect(appState.layout.btnStartAB, {50, 80, 190, 120}, "ab");
    expectRect(appState.layout.btnReview, {50, 140, 190, 180}, "review");
    expectRect(appState.layout.btnStartMenu, {50, 200, 190, 240}, "start menu");
    expectRect(appState.layout.btnExit, {50, 260, 190, 300}, "exit");
    expectRect(appState.layout.btnYes, {40, 110, 200, 186}, "yes");
    expectRect(appState.layout.btnNo, {40, 190, 200, 266}, "no");
    // Pictures are drawn at their rectangle's top-left corner.
    EXPECT_EQ(appState.layout.imgZoomIn.x, 192);
    EXPECT_EQ(appState.layout.imgZoomIn.y, 272);
    EXPECT_EQ(appState.layout.imgGpsSettings.x, appState.layout.imgYes.x);
    EXPECT_EQ(appState.layout.imgGpsCancel.y, appState.layout.imgNo.y);
}

TEST(Layout, LandscapeNormal320x240) {
    setScreen(320, 240, 1);
    EXPECT_FALSE(appState.layout.wideLayout);
    expectRect(appState.layout.btnFinish, {0, 192, 48, 240}, "finish");
    expectRect(appState.layout.btnWorkMenu, {0, 96, 48, 144}, "menu");
    expectRect(appState.layout.btnViewToggle, {0, 144, 48, 192}, "view");
    expectRect(appState.layout.btnZoomOut, {272, 192, 320, 240}, "zoom out");
    expectRect(appState.layout.btnZoomIn, {272, 144, 320, 192}, "zoom in");
    expectRect(appState.layout.btnStartFree, {10, 20, 150, 60}, "free");
    expectRect(appState.layout.btnStartAB, {10, 80, 150, 120}, "ab");
    expectRect(appState.layout.btnReview, {10, 140, 150, 180}, "review");
    expectRect(appState.layout.btnStartMenu, {170, 20, 310, 60}, "start menu");
    expectRect(appState.layout.btnExit, {170, 80, 310, 120}, "exit");
    expectRect(appState.layout.btnYes, {80, 70, 240, 146}, "yes");
    expectRect(appState.layout.btnNo, {80, 150, 240, 226}, "no");
}

TEST(Layout, PortraitWide480x640DoublesEverything) {
    setScreen(480, 640, 0);
    EXPECT_TRUE(appState.layout.wideLayout);
    EXPECT_EQ(appState.layout.guideNumberRow, 512);
    EXPECT_EQ(appState.layout.barHeight, 54);
    EXPECT_EQ(appState.layout.arrowSpacing, 40);
    EXPECT_EQ(appState.layout.textMargin, 4);
    expectRect(appState.layout.btnFinish, {0, 544, 96, 640}, "finish");
    expectRect(appState.layout.btnZoomIn, {384, 544, 480, 640}, "zoom in");
    const int ys[] = {40, 160, 280, 400, 520};
    const ButtonRect* column[] = {&appState.layout.btnStartFree, &appState.layout.btnStartAB,
                                  &appState.layout.btnReview, &appState.layout.btnStartMenu,
                                  &appState.layout.btnExit};
    for (int i = 0; i < 5; ++i) expectRect(*column[i], {100, ys[i], 380, ys[i] + 80}, "start");
    expectRect(appState.layout.btnYes, {80, 220, 400, 372}, "yes");
    expectRect(appState.layout.btnNo, {80, 380, 400, 532}, "no");
}

TEST(Layout, LandscapeWideMarginsDouble) {
    setScreen(640, 480, 3);
    expectRect(appState.layout.btnStartFree, {20, 40, 300, 120}, "free");
    expectRect(appState.layout.btnStartMenu, {340, 40, 620, 120}, "start menu");
    expectRect(appState.layout.btnZoomOut, {544, 384, 640, 480}, "zoom out");
}

TEST(Layout, WideLayoutStartsAtExactly480) {
    setScreen(479, 640, 0);
    EXPECT_FALSE(appState.layout.wideLayout);
    EXPECT_EQ(appState.layout.btnFinish.right - appState.layout.btnFinish.left, 48);
    setScreen(480, 640, 0);
    EXPECT_TRUE(appState.layout.wideLayout);
    EXPECT_EQ(appState.layout.btnFinish.right, 96);
}

// The font is loaded before the window's orientation is known: the scale of a landscape
// window is already the landscape one then.
TEST(Layout, ScaleOfALandscapeWindowBeforeItsOrientation) {
    appState.layout.orientation = 0;
    for (const auto& [w, h, k] : {std::tuple{800, 480, 2}, std::tuple{1280, 800, 3},
                                  std::tuple{1920, 1080, 4}, std::tuple{800, 1280, 3}}) {
        appState.layout.screenWidth = std::uint16_t(w);
        appState.layout.screenHeight = std::uint16_t(h);
        computeScreenMetrics();
        EXPECT_EQ(appState.layout.layoutScale, k) << w << "x" << h;
    }
}

TEST(Layout, HitTestIsHalfOpen) {
    ButtonRect r{10, 20, 30, 40};
    EXPECT_TRUE(r.contains(10, 20));
    EXPECT_TRUE(r.contains(29, 39));
    EXPECT_FALSE(r.contains(30, 20));
    EXPECT_FALSE(r.contains(10, 40));
    EXPECT_FALSE(r.contains(9, 25));
}

}  // namespace
