// Guidance along a curved AB line 2 km long: a winding pass recorded between A and B through
// the fix callback, then passes beside it at 10 fixes a second.
//
// fix_curve_ns: mean nanoseconds per guided fix through the callback (projection, filters,
// strip, the nearest parallel, the cross-track error and the lines the view shows), with the
// track held at a few records as fix_ns holds it.
// frame_curve_us: the median guidance frame with the three curved lines, 480 x 640;
// frame_straight_us the same frame with three straight lines; frame_curve_ratio the quotient
// (goal: at most 1.2).
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

#include "app/AbPoints.h"
#include "app/AppState.h"
#include "app/DashedLine.h"
#include "app/FixPipeline.h"
#include "app/Layout.h"
#include "app/ViewTransform.h"
#include "app/WorkScreen.h"
#include "gfx/Rasterizer.h"
#include "gfx/Surface.h"
#include "guidance/Projection.h"

namespace {

constexpr double kLon0 = 11.6821;
constexpr double kLat0 = 48.2103;
constexpr double kMetresPerDegreeLat = 111200.0;
const double kMetresPerDegreeLon = 111320.0 * std::cos(kLat0 * M_PI / 180.0);

GPS_POSITION fixAt(double east, double north) {
    GPS_POSITION fix;
    std::memset(&fix, 0, sizeof fix);
    fix.longitude = kLon0 + east / kMetresPerDegreeLon;
    fix.latitude = kLat0 + north / kMetresPerDegreeLat;
    fix.speed = 4.3f;
    fix.hdop = 0.9f;
    fix.fixQuality = 4;
    fix.satelliteCount = 14;
    return fix;
}

// A winding pass: northward 2 km with bends of 60 m amplitude; offset metres to its right.
void passPoint(double s, double offset, double& east, double& north) {
    const double k = 2 * M_PI / 400.0;
    const double x = 60.0 * std::sin(k * s), dx = 60.0 * k * std::cos(k * s);
    const double len = std::sqrt(1.0 + dx * dx);
    east = x + offset / len;
    north = s - offset * dx / len;
}

template <class Work>
double medianMicroseconds(int runs, Work work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[std::size_t(runs / 2)];
}

}  // namespace

int main() {
    setUpProjection(appState.projection);
    AppState& s = appState;
    s.settings.implementHalfWidth = 600;
    s.settings.implementWidth = 1200;
    s.layout.screenWidth = 480;
    s.layout.screenHeight = 640;
    computeScreenMetrics();
    computeLayout();
    s.settings.zoom = 3.0f;
    s.layout.dashLine = new DashedLine({10, 10});
    s.settings.guidancePattern = kPatternCurve;
    s.ui.screenState = kStateSettingAB;
    const double step = 0.22;  // 8 km/h at 10 Hz
    auto capped = [&] {
        if (s.work.strips.size() > 21) s.work.strips.resize(21);
    };
    const int recorded = int(2000.0 / step);
    for (int i = 0; i <= recorded; ++i) {
        double e = 0, n = 0;
        passPoint(i * step, 0.0, e, n);
        capped();
        onFix(fixAt(e, n));
        // A a few fixes in, B at the end.
        if (i == 10 || i == recorded) {
            std::lock_guard lock(s.frameLock);
            takeAbPoint();
        }
    }
    if (s.ui.screenState != kStateGuidance || !s.work.curveActive) {
        std::fprintf(stderr, "bench_curve: the curve was not set\n");
        return 1;
    }
    using Clock = std::chrono::steady_clock;
    Clock::duration total{};
    long fixes = 0;
    // Three passes beside it, back and forth, half a metre off lines 2, 3 and 4.
    for (int pass = 2; pass <= 4; ++pass) {
        for (double t = 0.0; t <= 2000.0; t += step) {
            double e = 0, n = 0;
            passPoint(pass % 2 ? 2000.0 - t : t, pass * 12.0 + 0.5, e, n);
            capped();
            const GPS_POSITION fix = fixAt(e, n);
            auto start = Clock::now();
            onFix(fix);
            total += Clock::now() - start;
            ++fixes;
        }
    }
    const double fixNs = std::chrono::duration<double, std::nano>(total).count() / fixes;

    gfx::Surface* screen = gfx::CreateSurface(480, 640);
    gfx::Rasterizer raster(screen);
    auto frame = [&] {
        drawBackground(raster);
        drawWorkScreen(raster);
        drawWorkButtons(raster);
    };
    s.guide.arrowCount = 3;
    s.guide.steerLeft = 1;
    recomputeView();
    const double curveUs = medianMicroseconds(500, frame);
    // The same view with three straight lines through the same place.
    s.work.curveActive = 0;
    for (int k = 0; k < 6; ++k)
        s.guide.guideLinesWorld[k] = {s.work.position.x + (k / 2 - 1) * 120.0,
                                      s.work.position.y + (k % 2 ? -4500.0 : 4500.0)};
    recomputeView();
    const double straightUs = medianMicroseconds(500, frame);
    std::printf("fix_curve_ns: %.0f\n", fixNs);
    std::printf("frame_curve_us: %.1f\n", curveUs);
    std::printf("frame_straight_us: %.1f\n", straightUs);
    std::printf("frame_curve_ratio: %.2f\n", curveUs / straightUs);
    std::fprintf(stderr, "bench_curve: %ld guided fixes on line %d, %zu path points kept\n", fixes,
                 int(s.guide.guideNumber), s.work.curve.path.size());
    gfx::DestroySurface(screen);
    delete s.layout.dashLine;
    s.layout.dashLine = nullptr;
    releaseProjection(appState.projection);
    return 0;
}
