// Times what every fix costs on the work screen with a long work stored: recomputeView (the
// walk that fills 2048 quads) and one guidance frame; prints the medians in microseconds.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#include "app/AppState.h"
#include "app/DashedLine.h"
#include "app/Layout.h"
#include "app/ViewTransform.h"
#include "app/WorkScreen.h"
#include "bench/BackAndForthWork.h"
#include "gfx/Rasterizer.h"
#include "gfx/Surface.h"
#include "guidance/WorkedStrip.h"

namespace {

// The stored work, paused twice.
void storeWork(int fixes) {
    storeBackAndForthWork(fixes);
    appState.work.pauseMarks = {400, 1200};
    coverAllRecords(appState.work);
}

}  // namespace

int main() {
    constexpr int kRuns = 200;
    const int sizes[][2] = {{240, 320}, {480, 640}};
    AppState& s = appState;
    s.layout.dashLine = new DashedLine({10, 10});
    for (const auto& size : sizes) {
        s.layout.screenWidth = std::uint16_t(size[0]);
        s.layout.screenHeight = std::uint16_t(size[1]);
        computeScreenMetrics();
        computeLayout();
        s.settings.zoom = 3.0f;
        s.ui.screenState = kStateGuidance;
        s.ui.abReady = 1;
        s.guide.arrowCount = 3;
        s.guide.steerLeft = 1;
        s.guide.crossTrack = 34.0;
        storeWork(3000);
        for (int k = 0; k < 6; ++k) {
            s.guide.guideLinesWorld[k] = {double(s.work.position.x + (k / 2 - 1) * 120),
                                          double(s.work.position.y + (k % 2 ? -4500 : 4500))};
        }
        gfx::Surface* screen = gfx::CreateSurface(size[0], size[1]);
        gfx::Rasterizer raster(screen);
        recomputeView();
        const double walkUs = medianMicroseconds(kRuns, [] { recomputeView(); });
        const double frameUs = medianMicroseconds(kRuns, [&] {
            drawBackground(raster);
            drawWorkScreen(raster);
            drawWorkButtons(raster);
        });
        std::printf("workscreen_walk_us_%dx%d: %.1f\n", size[0], size[1], walkUs);
        std::printf("workscreen_frame_us_%dx%d: %.1f\n", size[0], size[1], frameUs);
        gfx::DestroySurface(screen);
    }
    delete s.layout.dashLine;
    s.layout.dashLine = nullptr;
    return 0;
}
