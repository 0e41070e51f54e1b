// The patterns through the real fix callback and the real taps: a curve recorded from A to B
// on a field in Iowa, then passes beside it; a line at a typed heading and one at the heading
// driven. The expected lines and errors come from the drive's own circles.
#include <gtest/gtest.h>

#include <cmath>
#include <mutex>
#include <numbers>

#include "app/AbPoints.h"
#include "app/AppState.h"
#include "app/FixPipeline.h"
#include "tests/app/PipelineTestSupport.h"

namespace {

using pipeline_test::PlaneFixes;
constexpr double kPi = std::numbers::pi;

void tap() {
    std::lock_guard lock(appState.frameLock);
    takeAbPoint();
}

TEST(PatternDrive, CurveRecordedFromAToBThenFollowedOnBothSides) {
    pipeline_test::resetWork(kStateSettingAB);
    appState.settings.guidancePattern = kPatternCurve;
    appState.work.pointASet = 0;  // a new work, as the start button leaves it
    pipeline_test::PlaneFixes plane(-93.61, 41.95);
    const double R = 800.0,
                 w = appState.settings.implementWidth * 0.1;  // 80 m bend, 12 m implement
    const Vec2 centre{0.0, R};
    // Round the bend counter-clockwise from (0, 0) heading east, a fix every 1.5 m.
    auto at = [&](double radius, double a) {
        return PlanePoint{centre.x + radius * std::sin(a), centre.y - radius * std::cos(a)};
    };
    auto fix = [&](PlanePoint p) { onFix(plane.fixAt(p, 4.0f, 0.9f)); };
    appState.layout.screenWidth = 480;  // the view the neighbours are kept for
    appState.layout.screenHeight = 640;
    const int steps = 84;  // 1.5 m apart
    for (int i = -16; i < 0; ++i) fix(at(R, i * (kPi / 2) / steps));
    tap();  // A
    ASSERT_TRUE(appState.work.pointASet);
    for (int i = 0; i <= steps; ++i) fix(at(R, i * (kPi / 2) / steps));
    tap();  // B, heading due north
    ASSERT_EQ(appState.ui.screenState, kStateGuidance);
    ASSERT_TRUE(appState.work.curveActive);
    EXPECT_TRUE(appState.ui.abReady);

    // Back the other way one width and 3 dm outside the bend: 3 dm beyond line 1, which lies
    // right of the recorded path; facing back, that is on the driver's left: steer right.
    int checked = 0;
    for (double a = kPi / 2; a >= 0.05; a -= 15.0 / (R + w)) {
        fix(at(R + w + 3.0, a));
        if (a > kPi / 2 - 0.05) continue;  // the first fixes turn the heading round
        ++checked;
        EXPECT_EQ(appState.guide.guideNumber, 1) << a;
        EXPECT_NEAR(appState.guide.crossTrack, -3.0, 0.1) << a;
        EXPECT_FALSE(appState.guide.steerLeft);
    }
    EXPECT_GT(checked, 50);
    // Inside the bend, two widths in and 5 dm short of line -2, along the recorded direction:
    // right of line -2, steer left. Beyond B the lines run on straight north.
    for (double a = 0.05; a <= kPi / 2; a += 15.0 / (R - 2 * w)) {
        fix(at(R - 2 * w + 5.0, a));
        if (a < 0.1) continue;
        EXPECT_EQ(appState.guide.guideNumber, -2) << a;
        EXPECT_NEAR(appState.guide.crossTrack, 5.0, 0.1) << a;
        EXPECT_TRUE(appState.guide.steerLeft);
    }
    for (double y = R + 15.0; y < R + 600.0; y += 15.0) fix({R - 2 * w + 5.0, y});
    EXPECT_EQ(appState.guide.guideNumber, -2);
    EXPECT_NEAR(appState.guide.crossTrack, 5.0, 0.1);
    // The view holds the followed line and both neighbours near the vehicle.
    for (const auto& line : appState.guide.curveLinesWorld) EXPECT_FALSE(line.empty());
    appState.settings.guidancePattern = kPatternStraight;
    appState.layout.screenWidth = appState.layout.screenHeight = 0;
    resetWork();
}

TEST(PatternDrive, HeadingLineStartsOnATap) {
    for (bool typed : {false, true}) {
        pipeline_test::resetWork(kStateSettingAB);
        appState.settings.guidancePattern = kPatternHeading;
        appState.settings.headingDegrees = typed ? 90.0 : std::nan("");
        pipeline_test::PlaneFixes plane(-93.61, 41.95);
        auto fix = [&](double x, double y) { onFix(plane.fixAt({x, y}, 4.0f, 0.9f)); };
        // North along x = 0, then A: one tap and guidance is on.
        for (double y = 0.0; y <= 300.0; y += 10.0) fix(0.0, y);
        tap();
        ASSERT_EQ(appState.ui.screenState, kStateGuidance);
        const Vec2 d = appState.work.guidance.direction;
        if (typed) {
            // True east is grid east turned by the convergence, -0.41 degrees here.
            EXPECT_NEAR(std::atan2(d.x, d.y) * 180.0 / kPi, 90.41, 0.02);
        } else {
            EXPECT_NEAR(d.x, 0.0, 1e-9);
            EXPECT_NEAR(d.y, 1.0, 1e-9);
            // Two lines and 4 dm east of A's line, going on north: right of line 2.
            for (double y = 310.0; y <= 600.0; y += 10.0) fix(2 * 120.0 + 4.0, y);
            EXPECT_EQ(appState.guide.guideNumber, 2);
            EXPECT_NEAR(appState.guide.crossTrack, 4.0, 0.01);
        }
    }
    appState.settings.guidancePattern = kPatternStraight;
    appState.settings.headingDegrees = std::nan("");
}

}  // namespace
