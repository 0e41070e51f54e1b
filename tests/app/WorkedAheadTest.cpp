// The warning of worked ground ahead through the fix callback: a second strip driven across a
// first one warns when the look-ahead reaches it, clears beyond it, stays silent in the first
// 10 m of a strip and with a look-ahead of 0.
#include <gtest/gtest.h>

#include "app/AppState.h"
#include "app/FixPipeline.h"
#include "guidance/FixJump.h"
#include "platform/HeadlessPlatform.h"
#include "tests/app/PipelineTestSupport.h"

namespace {

using pipeline_test::PlaneFixes;

constexpr int kHz = 5;
constexpr double kKnots = 5.4;                           // 10 km/h
constexpr double kStep = kKnots * 1852.0 / 360.0 / kHz;  // dm between fixes

class WorkedAhead : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::install(&screen);
        pipeline_test::resetWork(kStateFreeWork);
        appState.settings.lookAheadSeconds = 2.0;
        appState.settings.warnSharePercent = 30.0;
    }
    void TearDown() override { platform::install(nullptr); }

    // One fix at p, a step's time after the last.
    void fixAt(const PlaneFixes& plane, PlanePoint p) {
        GPS_POSITION fix = plane.fixAt(p, float(kKnots), 0.8f);
        const int tenths = 10 * 3600 * 10 + index_++ * 10 / kHz;
        fix.utcTime.hour = std::uint16_t(tenths / 36000);
        fix.utcTime.minute = std::uint16_t(tenths / 600 % 60);
        fix.utcTime.second = std::uint16_t(tenths / 10 % 60);
        onFix(fix);
    }
    // A first strip north along x = 0 for 100 m, then the receiver is across the field at
    // (startX, 500) heading east: the strip starts again there.
    void crossingDrive(const PlaneFixes& plane, double startX) {
        for (double y = 0; y <= 1000.0; y += kStep) fixAt(plane, {0.0, y});
        for (int k = 0; k < 3; ++k) fixAt(plane, {startX + k * kStep, 500.0});
    }
    bool aheadAt(const PlaneFixes& plane, double& x, double untilX) {
        for (; x < untilX; x += kStep) fixAt(plane, {x, 500.0});
        return appState.work.workedAhead != 0;
    }
    platform::HeadlessPlatform screen;
    int index_ = 0;
};

TEST_F(WorkedAhead, WarnsWhenThePathAheadReachesWorkedGroundAndClearsBeyondIt) {
    PlaneFixes plane(8.55, 47.4);
    const double start = -400.0;
    crossingDrive(plane, start);
    ASSERT_EQ(appState.work.pauseMarks.size(), 1u) << "the move parts the strip";
    double x = start + 3 * kStep;
    // The first strip's west edge is at x = -60 dm; 2 s at 10 km/h is 55.6 dm ahead.
    EXPECT_FALSE(aheadAt(plane, x, -200.0));
    EXPECT_FALSE(aheadAt(plane, x, -60.0 - 55.6 - 2 * kStep));
    EXPECT_TRUE(aheadAt(plane, x, -60.0 - 55.6 + 2 * kStep));
    EXPECT_TRUE(aheadAt(plane, x, 0.0)) << "over the strip";
    EXPECT_FALSE(aheadAt(plane, x, 60.0 + 60.0)) << "beyond it";
}

TEST_F(WorkedAhead, SilentInAStripsFirstTenMetresAndWithoutALookAhead) {
    PlaneFixes plane(8.55, 47.4);
    // The strip starts again 6 m short of the first strip's edge: worked ground is ahead at
    // once, but the implement has not yet gone 10 m.
    const double start = -60.0 - 60.0;
    crossingDrive(plane, start);
    double x = start + 3 * kStep;
    EXPECT_FALSE(aheadAt(plane, x, start + 90.0));
    EXPECT_TRUE(aheadAt(plane, x, start + 110.0 + 2 * kStep));

    pipeline_test::resetWork(kStateFreeWork);
    appState.settings.lookAheadSeconds = 0.0;
    PlaneFixes again(8.55, 47.4);
    crossingDrive(again, -400.0);
    x = -400.0 + 3 * kStep;
    EXPECT_FALSE(aheadAt(again, x, 0.0));
    appState.settings.lookAheadSeconds = 2.0;
}

TEST(FixJump, ReachFollowsTheFixesOwnTimes) {
    // 10 km/h is 27.8 dm/s: 3 s (and a second more) reach 111 dm, plus the 50 dm margin.
    EXPECT_FALSE(beyondReach(160.0, 100.0, 103.0, 5.4, 5.4));
    EXPECT_TRUE(beyondReach(170.0, 100.0, 103.0, 5.4, 5.4));
    // The faster of the two speeds counts.
    EXPECT_FALSE(beyondReach(170.0, 100.0, 103.0, 5.4, 10.8));
    // Over midnight the day turns; a time running backwards leaves the margin and a second.
    EXPECT_FALSE(beyondReach(160.0, 86399.0, 2.0, 5.4, 5.4));
    EXPECT_TRUE(beyondReach(90.0, 200.0, 100.0, 5.4, 5.4));
    // Without a time there is nothing to judge by.
    EXPECT_FALSE(beyondReach(1e6, -1.0, 100.0, 5.4, 5.4));
    GPS_SYSTEMTIME t{};
    EXPECT_LT(fixSeconds(t), 0.0);
    t.hour = 25;
    EXPECT_LT(fixSeconds(t), 0.0);
    t = {0, 0, 0, 0, 13, 5, 7, 250};
    EXPECT_DOUBLE_EQ(fixSeconds(t), 13 * 3600 + 5 * 60 + 7.25);
}

}  // namespace
