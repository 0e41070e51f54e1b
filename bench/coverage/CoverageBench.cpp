// A work of a million strip records through the fix callback: a 36 m implement on 500 passes
// 1 km long side by side, a record every 0.5 m, paused on the headland turns; then the fix and
// the guidance frame at that size.
//
//   fix_1m_ns           one fix (strip, coverage, warning, guide lines) at the millionth record
//   fix_1k_ns           the same at the thousandth (goal: fix_1m_ns within 20 % of it); the
//                       first pass has no neighbour, so its fixes cut no worked ground
//   fix_3k_ns           the same in the middle of the second pass, beside the first: the
//                       millionth record's neighbourhood in a work a thousandth its size
//   coverage_frame_all_us     a 1920 x 1080 guidance frame zoomed out to the whole 1 800 ha
//   coverage_frame_middle_us  the same at the initial zoom in the work's middle
//   coverage_frame_us   the slower of the two
#include <QApplication>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/AppState.h"
#include "app/FixPipeline.h"
#include "app/ImageTable.h"
#include "app/Layout.h"
#include "app/Texts.h"
#include "app/ViewTransform.h"
#include "app/WorkScreen.h"
#include "app/WorkSession.h"
#include "bench/BackAndForthWork.h"
#include "gfx/Rasterizer.h"
#include "gfx/Surface.h"
#include "guidance/GuidanceLines.h"
#include "guidance/Projection.h"

namespace {

constexpr int kPasses = 500;
constexpr int kRecordsPerPass = 2000;
constexpr double kStep = 5.0;        // dm
constexpr double kSpacing = 360.0;   // dm
constexpr double kSpeedKnots = 5.4;  // 10 km/h: 0.18 s a record

double secondsOfRecord = 0.0;

GPS_POSITION fixAt(PlanePoint p) {
    GPS_POSITION fix;
    std::memset(&fix, 0, sizeof fix);
    unprojectPoint(appState.projection, appState.work.plane, p, fix.longitude, fix.latitude);
    fix.speed = float(kSpeedKnots);
    fix.hdop = 0.8f;
    fix.fixQuality = 4;
    fix.satelliteCount = 14;
    const int s = 8 * 3600 + int(secondsOfRecord);
    fix.utcTime.hour = std::uint16_t(s / 3600 % 24);
    fix.utcTime.minute = std::uint16_t(s / 60 % 60);
    fix.utcTime.second = std::uint16_t(s % 60);
    secondsOfRecord += kStep / (kSpeedKnots * 1852.0 / 360.0);
    return fix;
}

// The point of record i of the drive, and whether it lies on a pass (not on a turn).
PlanePoint pointOf(int pass, int along) {
    const double x = pass * kSpacing;
    const double y = pass % 2 == 0 ? along * kStep : (kRecordsPerPass - along) * kStep;
    return {x, y};
}

// Drives passes [first, last) and times the fixes of records [timedFrom, timedTo) of the work.
double drive(int first, int last, long timedFrom, long timedTo) {
    using Clock = std::chrono::steady_clock;
    AppState& s = appState;
    Clock::duration timed{};
    long timedFixes = 0;
    for (int pass = first; pass < last; ++pass) {
        for (int along = 0; along <= kRecordsPerPass; ++along) {
            const GPS_POSITION fix = fixAt(pointOf(pass, along));
            const long record = long(s.work.strips.size());
            const bool timing = record >= timedFrom && record < timedTo;
            const auto start = Clock::now();
            onFix(fix);
            if (timing) {
                timed += Clock::now() - start;
                ++timedFixes;
            }
        }
        // The headland turn with the work paused, as the driver does.
        s.ui.paused = 1;
        s.work.pauseMarks.push_back(s.work.strips.size());
        const PlanePoint end = pointOf(pass, kRecordsPerPass);
        const double cy = end.y, r = kSpacing / 2, up = pass % 2 == 0 ? 1.0 : -1.0;
        for (double a = 0; a < M_PI; a += kStep / r)
            onFix(fixAt({end.x + r - r * std::cos(a), cy + up * r * std::sin(a)}));
        s.ui.paused = 0;
    }
    return timedFixes ? std::chrono::duration<double, std::nano>(timed).count() / timedFixes : 0;
}

void startWork() {
    AppState& s = appState;
    resetWork();
    secondsOfRecord = 0.0;
    s.ui.screenState = kStateGuidance;
    s.ui.abReady = 1;
    setOrigin(s.projection, s.work.plane, 11.6821, 48.2103);
    // The inverse of the work's own zone, which the origin has just named.
    openInverseProjection(s.projection);
    setAbLine(s.work.guidance, {0.0, 0.0}, {0.0, 10000.0}, kSpacing);
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    AppState& s = appState;
    setUpProjection(s.projection);
    constexpr int kWidth = 1920, kHeight = 1080;
    s.layout.screenWidth = kWidth;
    s.layout.screenHeight = kHeight;
    s.layout.orientation = 1;
    computeScreenMetrics();
    computeLayout();
    installTexts();
    loadFont();
    s.settings.zoom = 3.0f;
    loadScreenImages();
    s.settings.implementHalfWidth = 1800;
    s.settings.implementWidth = 3600;
    // A record every 5 dm: the filter takes steps longer than 4 dm.
    s.settings.distanceThreshold = 4;
    s.settings.distanceThresholdSquared = 16;

    // The thousandth record: the middle of the first pass.
    startWork();
    const double fix1k = drive(0, 1, 1000, 2000);
    startWork();
    const double fix3k = drive(0, 2, 2500, 3500);
    // The millionth: the middle of the last pass, after 499 passes.
    startWork();
    const double fix1m = drive(0, kPasses, 999000, 1000000);
    std::fprintf(stderr, "bench_coverage: %u strip records, %.1f ha, %.1f km, overlap %.2f ha\n",
                 unsigned(s.work.strips.size()), s.work.groundArea * 1e-6, s.work.distance * 1e-4,
                 (s.work.workedArea - s.work.groundArea) * 1e-6);

    gfx::Surface* screen = gfx::CreateSurface(kWidth, kHeight);
    gfx::Rasterizer raster(screen);
    s.heading.east = 0.0f;
    s.heading.north = 1.0f;
    s.view.northUp = 0;
    const PlanePoint middle{kPasses * kSpacing / 2, kRecordsPerPass * kStep / 2};
    auto frameAt = [&](float zoom) {
        s.settings.zoom = zoom;
        auto move = [&](int i) {
            s.work.position = {middle.x, middle.y + (i % 2)};
            recomputeView();
        };
        return medianMicroseconds(51, move, [&] { drawWorkFrame(raster); });
    };
    const double all = frameAt(float(0.95 * kWidth / (kPasses * kSpacing)));
    const double near = frameAt(3.0f);
    std::printf("fix_1m_ns: %.0f\n", fix1m);
    std::printf("fix_1k_ns: %.0f\n", fix1k);
    std::printf("fix_3k_ns: %.0f\n", fix3k);
    std::printf("coverage_frame_all_us: %.1f\n", all);
    std::printf("coverage_frame_middle_us: %.1f\n", near);
    std::printf("coverage_frame_us: %.1f\n", std::max(all, near));
    gfx::DestroySurface(screen);
    freeScreenImages();
    return 0;
}
