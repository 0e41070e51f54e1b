// The fix callback: panel values, the three filters, the seed fix, heading smoothing, the strip
// and the guidance outputs, driven with fixes placed exactly on the work plane.
#include <gtest/gtest.h>

#include <cmath>

#include "app/AppState.h"
#include "guidance/FixProcessing.h"
#include "guidance/GuidanceLines.h"
#include "platform/HeadlessPlatform.h"
#include "tests/guidance/GuidanceTestSupport.h"

namespace {

using guidance_test::WorkPlane;

class FixProcessing : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::install(&screen);
        guidance_test::resetWork(kStateFreeWork);
        plane.emplace(15.3, 52.1);  // the work's first fix: its origin
    }
    void TearDown() override { platform::install(nullptr); }

    void fix(IntPoint p, float speed = 5.0f, float hdop = 1.0f) {
        onFix(plane->fixAt(p, speed, hdop));
    }
    // A straight run of fixes every `step` from `from`, `count` fixes long.
    void drive(IntPoint from, IntPoint step, int count) {
        for (int i = 0; i < count; ++i) fix({from.x + i * step.x, from.y + i * step.y});
    }
    static bool at(IntPoint p) { return appState.position.x == p.x && appState.position.y == p.y; }

    platform::HeadlessPlatform screen;
    std::optional<WorkPlane> plane;
};

struct FilterRow {
    float speed;
    float hdop;
    IntPoint step;
    std::uint16_t thresholdSquared;
    bool accepted;
    const char* source;
};

TEST_F(FixProcessing, FilterBoundaries) {
    const FilterRow rows[] = {
        {1.0f, 1.0f, {10, 0}, 25, false, "1.0 knot is not faster than the 1.0 knot threshold"},
        {1.01f, 1.0f, {10, 0}, 25, true, "just faster"},
        {5.0f, 2.5f, {10, 0}, 25, false, "HDOP 2.5 is not below the 2.5 threshold"},
        {5.0f, 2.49f, {10, 0}, 25, true, "just below"},
        {5.0f, 1.0f, {5, 0}, 25, false, "a 5 dm step is not longer than 5 dm"},
        {5.0f, 1.0f, {0, -6}, 25, true, "6 dm is"},
        {5.0f, 1.0f, {3, -4}, 25, false, "d2 = 25 diagonally"},
        {5.0f, 1.0f, {-4, 4}, 25, true, "d2 = 32"},
        {5.0f, 1.0f, {150, 0}, 40000, false, "a 20 m threshold keeps its meaning"},
        {5.0f, 1.0f, {201, 0}, 40000, true, "and passes what is longer"},
    };
    for (const FilterRow& row : rows) {
        SetUp();
        appState.distanceThresholdSquared = row.thresholdSquared;
        fix({1000, 1000});
        ASSERT_TRUE(at({1000, 1000})) << row.source;
        IntPoint next{1000 + row.step.x, 1000 + row.step.y};
        fix(next, row.speed, row.hdop);
        EXPECT_EQ(at(next), row.accepted) << row.source;
        EXPECT_EQ(appState.fixCount, row.accepted ? 1 : 0) << row.source;
        EXPECT_EQ(appState.previousPosition.x, next.x) << row.source;
        EXPECT_EQ(appState.previousPosition.y, next.y) << row.source;
    }
}

TEST_F(FixProcessing, ADroppedFixStillUpdatesThePanel) {
    fix({1000, 1000});
    GPS_POSITION slow = plane->fixAt({1100, 1000}, 0.4f, 3.25f);
    slow.fixQuality = 2;
    slow.satelliteCount = 7;
    appState.redrawPending = 0;
    int paints = screen.paintRequests();
    onFix(slow);
    EXPECT_TRUE(at({1000, 1000}));
    EXPECT_EQ(appState.speedKnots, 0.4f);
    EXPECT_EQ(appState.hdop, 3.25f);
    EXPECT_EQ(appState.fixQuality, 2);
    EXPECT_EQ(appState.satellitesUsed, 7);
    EXPECT_EQ(appState.redrawPending, 1);
    EXPECT_EQ(screen.paintRequests(), paints + 1);

    struct Row {
        std::uint32_t quality, satellites;
        int used;
        const char* source;
    } rows[] = {
        {0, 9, 7, "no fix: the satellite count says nothing"},
        {1, 0, 7, "no satellites reported"},
        {4, 300, 44, "kept in eight bits"},
    };
    for (const Row& row : rows) {
        GPS_POSITION f = slow;
        f.fixQuality = row.quality;
        f.satelliteCount = row.satellites;
        onFix(f);
        EXPECT_EQ(appState.satellitesUsed, row.used) << row.source;
        EXPECT_EQ(appState.fixQuality, static_cast<int>(row.quality)) << row.source;
    }
}

TEST_F(FixProcessing, OutsideAWorkOnlyThePanelChanges) {
    appState.screenState = kStateStart;
    appState.previousPosition = {77, 77};
    fix({500, 500}, 7.5f);
    EXPECT_EQ(appState.speedKnots, 7.5f);
    EXPECT_EQ(appState.previousPosition.x, 77);
    EXPECT_TRUE(at({0, 0}));
}

TEST_F(FixProcessing, TheFirstAcceptedFixOnlySeeds) {
    fix({0, 0});  // the origin itself: no step, dropped
    EXPECT_TRUE(at({0, 0}));
    fix({0, 10});
    EXPECT_TRUE(at({0, 10}));
    EXPECT_EQ(appState.fixCount, 0);
    fix({0, 20});
    ASSERT_EQ(appState.fixCount, 1);
    const TrackEdge& e = appState.trackEdges[0];
    EXPECT_EQ(e.leftX, -60);
    EXPECT_EQ(e.rightX, 60);
    EXPECT_EQ(e.leftY, 20);
    EXPECT_EQ(e.rightY, 20);
    EXPECT_FLOAT_EQ(appState.headingNorth, 1.0f);
    EXPECT_FLOAT_EQ(appState.headingEast, 0.0f);
}

TEST_F(FixProcessing, EdgeOffsetsAreTruncatedSymmetrically) {
    // A step of (6, 8) dm: the unit step is (0.6, 0.8), the 60 dm half width gives
    // offX = trunc(48.0) and offY = trunc(36.0); (-6, -8) gives the negatives.
    fix({100, 100});
    fix({106, 108});
    fix({100, 100});
    ASSERT_EQ(appState.fixCount, 2);
    const TrackEdge& a = appState.trackEdges[0];
    EXPECT_EQ(a.leftX, 106 - 48);
    EXPECT_EQ(a.leftY, 108 + 36);
    EXPECT_EQ(a.rightX, 106 + 48);
    EXPECT_EQ(a.rightY, 108 - 36);
    const TrackEdge& b = appState.trackEdges[1];
    EXPECT_EQ(b.leftX, 100 + 48);
    EXPECT_EQ(b.leftY, 100 - 36);

    // A half width of 55.5 dm and a step east-north-east: offsets truncate toward zero.
    SetUp();
    appState.implementHalfWidth = 555;
    fix({100, 100});
    fix({107, 101});  // unit (0.98995, 0.14142): 54.94 and 7.85
    const TrackEdge& c = appState.trackEdges[0];
    EXPECT_EQ(c.leftX, 107 - 7);
    EXPECT_EQ(c.leftY, 101 + 54);
}

TEST_F(FixProcessing, HeadingIsSmoothedOnlyOnSteadyTravel) {
    const double unitEast = 1.0 / std::sqrt(101.0);
    const double unitNorth = 10.0 / std::sqrt(101.0);
    // The first twenty records of a work take the step itself, even on a slight turn.
    fix({0, 10});
    drive({0, 20}, {0, 10}, 10);
    fix({1, 120});
    EXPECT_NEAR(appState.headingEast, unitEast, 1e-6);

    drive({1, 130}, {0, 10}, 20);
    fix({1, 330});  // straight on: the history holds 20 steps north
    ASSERT_EQ(appState.fixCount, 32);
    EXPECT_FLOAT_EQ(appState.headingNorth, 1.0f);

    // A slight turn: the mean of 19 steps north and one to the right takes over.
    fix({2, 340});
    EXPECT_NEAR(appState.headingEast, unitEast / 20.0, 1e-6);
    EXPECT_NEAR(appState.headingNorth, (19.0 + unitNorth) / 20.0, 1e-6);

    // Turning back: the mean is far from the last heading, the step itself is used.
    fix({2, 330});
    EXPECT_FLOAT_EQ(appState.headingEast, 0.0f);
    EXPECT_FLOAT_EQ(appState.headingNorth, -1.0f);
}

TEST_F(FixProcessing, PausedFixesMoveTheVehicleButRecordNothing) {
    fix({0, 10});
    drive({0, 20}, {0, 10}, 3);  // records at 20, 30, 40
    appState.paused = 1;
    drive({0, 50}, {0, 10}, 3);
    EXPECT_TRUE(at({0, 70}));
    EXPECT_EQ(appState.fixCount, 3);
    EXPECT_EQ(appState.distance, 20);
    appState.paused = 0;
    fix({0, 80});
    ASSERT_EQ(appState.fixCount, 4);
    // The quad from y = 40 to y = 80 is counted; only the step itself adds distance.
    EXPECT_DOUBLE_EQ(appState.workedArea, 2 * 10 * 120 + 40 * 120);
    EXPECT_EQ(appState.distance, 30);
}

TEST_F(FixProcessing, StripsAreRecordedWhilePointsAAndBAreSet) {
    appState.screenState = kStateSettingAB;
    fix({0, 10});
    drive({0, 20}, {0, 10}, 3);
    EXPECT_EQ(appState.fixCount, 3);
    EXPECT_EQ(appState.guideNumber, 0);
}

struct GuidanceRow {
    IntPoint from, step;
    int line;
    double crossTrack;
    int arrows;
    int steerLeft;
    const char* source;
};

TEST_F(FixProcessing, GuidanceAlongTheAbLine) {
    const GuidanceRow rows[] = {
        {{130, 0}, {0, 10}, 1, 10.0, 1, 1, "north, right of line 1: steer left"},
        {{130, 500}, {0, -10}, 1, -10.0, 1, 0, "south, left of line 1: steer right"},
        {{120, 0}, {0, 10}, 1, 0.0, 0, 0, "on line 1"},
        {{-265, 0}, {0, 10}, -2, -25.0, 2, 0, "25 dm left of line -2"},
        {{-215, 0}, {0, 10}, -2, 25.0, 2, 1, "25 dm right of line -2"},
    };
    for (const GuidanceRow& row : rows) {
        SetUp();
        setAbLine(appState.guidance, {0.0, 0.0}, {0.0, 100.0}, 1200 / 10);
        appState.screenState = kStateGuidance;
        fix(row.from);
        fix({row.from.x + row.step.x, row.from.y + row.step.y});
        EXPECT_EQ(appState.guideNumber, row.line) << row.source;
        EXPECT_DOUBLE_EQ(appState.crossTrack, row.crossTrack) << row.source;
        EXPECT_EQ(appState.arrowCount, row.arrows) << row.source;
        EXPECT_EQ(appState.steerLeft, row.steerLeft) << row.source;

        // The followed line and its two neighbours, 1500 zoomed dm both ways from the foot.
        double footX = row.line * 120.0;
        double footY = row.from.y + row.step.y;
        const Vec2* w = appState.guideLinesWorld;
        const double xs[] = {footX, footX, footX - 120, footX - 120, footX + 120, footX + 120};
        for (int i = 0; i < 6; ++i) {
            EXPECT_DOUBLE_EQ(w[i].x, xs[i]) << row.source << " end " << i;
            EXPECT_DOUBLE_EQ(w[i].y, footY + (i % 2 == 0 ? 4500.0 : -4500.0)) << row.source;
        }
    }
}

}  // namespace
