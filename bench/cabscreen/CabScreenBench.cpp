// A guidance frame on today's largest cab screen, 1920 x 1080 (layout scale 4): the work screen
// with the program's own pictures and fonts, a long work stored, the large cross-track digits,
// drawn and handed to the window's image as the paint loop does; prints the median.
//
//   frame_1080p_us  drawWorkFrame plus MainWindow::showFrame, microseconds
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/AppState.h"
#include "app/ImageTable.h"
#include "app/Layout.h"
#include "app/Texts.h"
#include "app/ViewTransform.h"
#include "app/WorkScreen.h"
#include "bench/BackAndForthWork.h"
#include "gfx/Rasterizer.h"
#include "gfx/Surface.h"
#include "platform/MainWindow.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    constexpr int kRuns = 200, kWidth = 1920, kHeight = 1080;
    AppState& s = appState;
    s.layout.screenWidth = kWidth;
    s.layout.screenHeight = kHeight;
    s.layout.orientation = 1;
    computeScreenMetrics();
    computeLayout();
    installTexts();
    loadFont();
    s.settings.zoom = 3.0f;
    loadScreenImages();
    s.ui.screenState = kStateGuidance;
    s.ui.abReady = 1;
    s.guide.arrowCount = 3;
    s.guide.steerLeft = 1;
    s.guide.crossTrack = 34.0;
    s.settings.arrowTolerance = 10;
    storeBackAndForthWork(3000);
    for (int k = 0; k < 6; ++k) {
        s.guide.guideLinesWorld[k] = {double(s.work.position.x + (k / 2 - 1) * 120),
                                      double(s.work.position.y + (k % 2 ? -4500 : 4500))};
    }
    recomputeView();
    platform::MainWindow window([](std::uint32_t, std::uintptr_t, std::intptr_t) {});
    window.resize(kWidth, kHeight);
    gfx::Surface* screen = gfx::CreateSurface(kWidth, kHeight);
    gfx::Rasterizer raster(screen);
    auto frame = [&] {
        drawWorkFrame(raster);
        window.showFrame(screen->row(0), kWidth, kHeight, int(screen->pitch()));
    };
    frame();
    const PlanePoint at = s.work.position;
    // Each run first moves the vehicle by a decimetre (untimed, as a fix would), so that every
    // frame differs from the last and the window converts it whole.
    auto move = [&](int i) {
        s.work.position = {at.x, at.y + (i % 2)};
        s.guide.crossTrack = 34.0 + (i % 2);
        recomputeView();
    };
    std::printf("frame_1080p_us: %.1f\n", medianMicroseconds(kRuns, move, frame));
    // The two halves, for the record: drawing alone and the hand-over to the window.
    std::printf("frame_1080p_draw_us: %.1f\n",
                medianMicroseconds(kRuns, move, [&] { drawWorkFrame(raster); }));
    gfx::DestroySurface(screen);
    freeScreenImages();
    return 0;
}
