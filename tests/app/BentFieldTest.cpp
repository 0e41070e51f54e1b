// gpssim's bent field: its passes are concentric arcs one spacing apart, and a curve recorded
// along the first one guides the second on line +1, the third on +2.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <mutex>

#include "app/AbPoints.h"
#include "app/AppState.h"
#include "app/FixPipeline.h"
#include "tests/app/PipelineTestSupport.h"
#include "tools/FieldPath.h"

namespace {

constexpr double kEarth = 6378137.0;

GPS_POSITION fixOf(const FieldPoint& p) {
    GPS_POSITION fix;
    std::memset(&fix, 0, sizeof fix);
    fix.longitude = p.longitude;
    fix.latitude = p.latitude;
    fix.speed = 6.5f;
    fix.hdop = 0.8f;
    fix.fixQuality = 4;
    fix.satelliteCount = 12;
    return fix;
}

TEST(BentField, PassesAreConcentricArcsFollowedLineByLine) {
    FieldPathConfig field;
    field.passLength = 150.0;
    field.spacing = 12.0;
    field.bendRadius = 80.0;
    const double turn = M_PI * field.spacing / 2;
    const double cycle = field.passLength + turn;
    // The simulator's own flat metres: each pass at radius 80 - 12 k around (80, 0).
    for (int pass = 0; pass < 3; ++pass) {
        for (double s = 1.0; s < field.passLength; s += 7.0) {
            const FieldPoint p = pointAlongPath(field, pass * cycle + s);
            const double north = (p.latitude - field.originLatitude) * M_PI / 180.0 * kEarth;
            const double east = (p.longitude - field.originLongitude) * M_PI / 180.0 * kEarth *
                                std::cos(field.originLatitude * M_PI / 180.0);
            EXPECT_NEAR(std::hypot(east - 80.0, north), 80.0 - 12.0 * pass, 1e-6);
            // Along the arc: the course is square to the radius.
            const double c = p.course * M_PI / 180.0;
            EXPECT_NEAR((east - 80.0) * std::sin(c) + north * std::cos(c), 0.0, 1e-3);
        }
    }

    pipeline_test::resetWork(kStateSettingAB);
    appState.settings.guidancePattern = kPatternCurve;
    appState.work.pointASet = 0;  // a new work, as the start button leaves it
    const double step = 0.36;     // 6.5 knots at 10 Hz
    const int fixes = int(field.passLength / step);
    for (int i = 0; i <= fixes; ++i) {
        onFix(fixOf(pointAlongPath(field, i * step)));
        // A once the work has a position, B at the end of the pass.
        if (i == 20 || i == fixes) {
            std::lock_guard lock(appState.frameLock);
            takeAbPoint();
        }
    }
    ASSERT_TRUE(appState.work.curveActive);
    for (int pass = 1; pass <= 2; ++pass) {
        for (double s = 10.0; s < field.passLength - 10.0; s += step) {
            onFix(fixOf(pointAlongPath(field, pass * cycle + s)));
            if (s < 15.0) continue;  // the heading settles after the turn
            // Passes are inside the right-hand bend: right of the recorded one.
            EXPECT_EQ(appState.guide.guideNumber, pass) << s;
            // The simulator's metres are a sphere's and the map's the ellipsoid's: they differ by
            // up to 0.25 % across the field here, 6 cm at 24 m.
            EXPECT_NEAR(appState.guide.crossTrack, 0.0, 0.25e-2 * pass * 120.0) << s;
        }
    }
    appState.settings.guidancePattern = kPatternStraight;
    resetWork();
}

}  // namespace
