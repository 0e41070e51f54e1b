// What a field in view costs the guidance frame: a 1920 x 1080 frame of the work screen with a
// field's 2 000-point boundary and its headland's inner line (dashed) in view, against the same
// frame of the same work without the field. A few passes are worked and the vehicle stands at
// the end of a pass, on the headland line, the boundary ahead; the frame is timed at the initial
// zoom and zoomed out until the whole field is in view, and the dearer of the two is the figure.
//
//   field_frame_<view>_us / plain_frame_<view>_us   the frame with and without the field
//   field_frame_us, plain_frame_us, field_frame_ratio   the view where the field costs most
//   (goal: field_frame_ratio under 1.1)
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/AppState.h"
#include "app/FieldWork.h"
#include "app/ImageTable.h"
#include "app/Layout.h"
#include "app/Texts.h"
#include "app/ViewTransform.h"
#include "app/WorkScreen.h"
#include "bench/BackAndForthWork.h"
#include "farm/FieldInPlane.h"
#include "gfx/Rasterizer.h"
#include "gfx/Surface.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;
constexpr int kRingPoints = 2000;
constexpr double kRadius = 2500.0;   // dm: a round field 500 m across, its edge wavy
constexpr double kHeadland = 120.0;  // dm: the headland's inner line, 12 m inside
constexpr double kAhead = 120.0;     // dm from the vehicle to the boundary straight ahead
constexpr int kFixes = 5 * 200;      // five passes of the work, 200 m each
constexpr int kRounds = 5;
constexpr int kFramesPerRound = 61;

double edgeRadius(double angle) {
    return kRadius + 60.0 * std::sin(5.0 * angle) + 25.0 * std::sin(13.0 * angle + 1.0);
}

// The boundary around centre, and the headland's line: each boundary point moved the
// headland's depth inward along the edge's normal, so that both rings have the same points.
void fieldRings(GroundPoint centre, std::vector<GroundPoint>& boundary,
                std::vector<GroundPoint>& headland) {
    boundary.clear();
    headland.clear();
    for (int i = 0; i < kRingPoints; ++i) {
        const double a = 2.0 * M_PI * i / kRingPoints;
        const double r = edgeRadius(a);
        boundary.push_back({centre.x + r * std::cos(a), centre.y + r * std::sin(a)});
    }
    for (int i = 0; i < kRingPoints; ++i) {
        const GroundPoint before = boundary[std::size_t((i + kRingPoints - 1) % kRingPoints)];
        const GroundPoint after = boundary[std::size_t((i + 1) % kRingPoints)];
        // The ring runs anticlockwise: its inside is to the left of the way along it.
        const double tx = after.x - before.x, ty = after.y - before.y;
        const double length = std::hypot(tx, ty);
        const GroundPoint p = boundary[std::size_t(i)];
        headland.push_back({p.x - kHeadland * ty / length, p.y + kHeadland * tx / length});
    }
}

void showField(bool shown) {
    workField.fieldId = shown ? 1 : 0;
    workField.inPlane = shown ? 1 : 0;
}

struct FrameTimes {
    double fieldUs = 0.0;
    double plainUs = 0.0;
};

double median(std::vector<double> times) {
    std::nth_element(times.begin(), times.begin() + std::ptrdiff_t(times.size() / 2), times.end());
    return times[times.size() / 2];
}

// The frames with and without the field taken in turn, so that whatever else the machine does
// falls on both alike; the best round's medians.
FrameTimes timeFrames(gfx::Rasterizer& raster) {
    using Clock = std::chrono::steady_clock;
    auto frame = [&](bool withField) {
        showField(withField);
        const auto start = Clock::now();
        drawWorkFrame(raster);
        return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    };
    FrameTimes best{1e300, 1e300};
    for (int round = 0; round < kRounds; ++round) {
        std::vector<double> withField, plain;
        for (int i = 0; i < kFramesPerRound; ++i) {
            if (i % 2 == 0) {
                plain.push_back(frame(false));
                withField.push_back(frame(true));
            } else {
                withField.push_back(frame(true));
                plain.push_back(frame(false));
            }
        }
        best.fieldUs = std::min(best.fieldUs, median(withField));
        best.plainUs = std::min(best.plainUs, median(plain));
    }
    showField(true);
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
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
    s.settings.implementHalfWidth = 60;
    s.settings.implementWidth = 120;

    // Five passes 12 m apart; the vehicle at the end of the last, heading north.
    storeBackAndForthWork(kFixes);
    s.ui.screenState = kStateGuidance;
    s.ui.abReady = 1;
    s.view.northUp = 0;
    s.guide.arrowCount = 3;
    s.guide.steerLeft = 1;
    s.guide.crossTrack = 34.0;
    for (int k = 0; k < 6; ++k) {
        s.guide.guideLinesWorld[k] = {double(s.work.position.x + (k / 2 - 1) * 120),
                                      double(s.work.position.y + (k % 2 ? -4500 : 4500))};
    }

    // The field round the work, its boundary kAhead in front of the vehicle.
    const GroundPoint centre{s.work.position.x, s.work.position.y + kAhead - edgeRadius(M_PI / 2)};
    std::vector<GroundPoint> boundary, headland;
    fieldRings(centre, boundary, headland);
    workField.shape = fieldInPlane({boundary}, {headland});
    // All of the work lies in the field: the panel shows its share.
    workField.groundInField = s.work.groundArea;
    showField(true);

    gfx::Surface* screen = gfx::CreateSurface(kWidth, kHeight);
    gfx::Rasterizer raster(screen);

    // The zoom that shows the whole field round the vehicle at the screen's centre.
    const GroundBox box = workField.shape.box;
    const double reachX = std::max(box.maxX - s.work.position.x, s.work.position.x - box.minX);
    const double reachY = std::max(box.maxY - s.work.position.y, s.work.position.y - box.minY);
    const float wholeZoom = float(0.95 * std::min(kWidth / 2 / reachX, kHeight / 2 / reachY));

    struct View {
        const char* name;
        float zoom;
    };
    const View views[] = {{"near", 3.0f}, {"whole", wholeZoom}};
    FrameTimes dearest{};
    double dearestRatio = 0.0;
    for (const View& view : views) {
        s.settings.zoom = view.zoom;
        rebuildVehicleImage();
        recomputeView();
        drawWorkFrame(raster);
        const FrameTimes t = timeFrames(raster);
        std::printf("field_frame_%s_us: %.1f\n", view.name, t.fieldUs);
        std::printf("plain_frame_%s_us: %.1f\n", view.name, t.plainUs);
        if (t.fieldUs / t.plainUs > dearestRatio) {
            dearestRatio = t.fieldUs / t.plainUs;
            dearest = t;
        }
    }
    std::printf("field_frame_us: %.1f\n", dearest.fieldUs);
    std::printf("plain_frame_us: %.1f\n", dearest.plainUs);
    std::printf("field_frame_ratio: %.3f\n", dearestRatio);

    gfx::DestroySurface(screen);
    freeScreenImages();
    return 0;
}
