// The fix callback: panel values, the three filters, the seed fix, heading smoothing, the strip
// and the guidance outputs, driven with fixes placed exactly on the work plane.
#include <gtest/gtest.h>

#include <cmath>

#include "app/AppState.h"
#include "app/FixPipeline.h"
#include "guidance/GuidanceLines.h"
#include "platform/HeadlessPlatform.h"
#include "tests/app/PipelineTestSupport.h"

namespace {

using pipeline_test::PlaneFixes;

class FixProcessing : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::install(&screen);
        pipeline_test::resetWork(kStateFreeWork);
        plane.emplace(15.3, 52.1);  // the work's first fix: its origin
    }
    void TearDown() override { platform::install(nullptr); }

    void fix(PlanePoint p, float speed = 5.0f, float hdop = 1.0f) {
        onFix(plane->fixAt(p, speed, hdop));
    }
    // A straight run of fixes every `step` from `from`, `count` fixes long.
    void drive(PlanePoint from, PlanePoint step, int count) {
        for (int i = 0; i < count; ++i) fix({from.x + i * step.x, from.y + i * step.y});
    }
    // The plane keeps the projection's own value: PROJ and GDAL agree far below a micrometre.
    static bool at(PlanePoint p) {
        return std::fabs(appState.work.position.x - p.x) < 1e-5 &&
               std::fabs(appState.work.position.y - p.y) < 1e-5;
    }

    platform::HeadlessPlatform screen;
    std::optional<pipeline_test::PlaneFixes> plane;
};

struct FilterRow {
    float speed;
    float hdop;
    PlanePoint step;
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
        {5.0f, 1.0f, {4.999, 0}, 25, false, "a step of a hair below 5 dm is not longer than 5 dm"},
        {5.0f, 1.0f, {0, -6}, 25, true, "6 dm is"},
        {5.0f, 1.0f, {3, -3.999}, 25, false, "d2 just below 25 diagonally"},
        {5.0f, 1.0f, {3, -4.001}, 25, true, "d2 just above 25"},
        {5.0f, 1.0f, {-4, 4}, 25, true, "d2 = 32"},
        {5.0f, 1.0f, {150, 0}, 40000, false, "a 20 m threshold keeps its meaning"},
        {5.0f, 1.0f, {201, 0}, 40000, true, "and passes what is longer"},
    };
    for (const FilterRow& row : rows) {
        SetUp();
        appState.settings.distanceThresholdSquared = row.thresholdSquared;
        fix({1000, 1000});
        ASSERT_TRUE(at({1000, 1000})) << row.source;
        PlanePoint next{1000 + row.step.x, 1000 + row.step.y};
        fix(next, row.speed, row.hdop);
        EXPECT_EQ(at(next), row.accepted) << row.source;
        EXPECT_EQ(appState.work.strips.size(), row.accepted ? 1 : 0) << row.source;
        EXPECT_NEAR(appState.work.previousPosition.x, next.x, 1e-5) << row.source;
        EXPECT_NEAR(appState.work.previousPosition.y, next.y, 1e-5) << row.source;
    }
}

TEST_F(FixProcessing, ADroppedFixStillUpdatesThePanel) {
    fix({1000, 1000});
    GPS_POSITION slow = plane->fixAt({1100, 1000}, 0.4f, 3.25f);
    slow.fixQuality = 2;
    slow.satelliteCount = 7;
    appState.ui.redrawPending = 0;
    int paints = screen.paintRequests();
    onFix(slow);
    EXPECT_TRUE(at({1000, 1000}));
    EXPECT_EQ(appState.fix.speedKnots, 0.4f);
    EXPECT_EQ(appState.fix.hdop, 3.25f);
    EXPECT_EQ(appState.fix.fixQuality, 2);
    EXPECT_EQ(appState.fix.satellitesUsed, 7);
    EXPECT_EQ(appState.ui.redrawPending, 1);
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
        EXPECT_EQ(appState.fix.satellitesUsed, row.used) << row.source;
        EXPECT_EQ(appState.fix.fixQuality, static_cast<int>(row.quality)) << row.source;
    }
}

TEST_F(FixProcessing, OutsideAWorkOnlyThePanelChanges) {
    appState.ui.screenState = kStateStart;
    appState.work.previousPosition = {77, 77};
    fix({500, 500}, 7.5f);
    EXPECT_EQ(appState.fix.speedKnots, 7.5f);
    EXPECT_EQ(appState.work.previousPosition.x, 77);
    EXPECT_TRUE(at({0, 0}));
}

TEST_F(FixProcessing, TheFirstAcceptedFixOnlySeeds) {
    fix({0, 0});  // the origin itself: no step, dropped
    EXPECT_TRUE(at({0, 0}));
    fix({0, 10});
    EXPECT_TRUE(at({0, 10}));
    EXPECT_EQ(appState.work.strips.size(), 0);
    fix({0, 20});
    ASSERT_EQ(appState.work.strips.size(), 1);
    const TrackEdge& e = appState.work.strips[0];
    EXPECT_NEAR(e.leftX, -60, 1e-5);
    EXPECT_NEAR(e.rightX, 60, 1e-5);
    EXPECT_NEAR(e.leftY, 20, 1e-5);
    EXPECT_NEAR(e.rightY, 20, 1e-5);
    EXPECT_FLOAT_EQ(appState.heading.north, 1.0f);
    EXPECT_NEAR(appState.heading.east, 0.0f, 1e-6);
}

TEST_F(FixProcessing, EdgesLieHalfTheWidthEitherSide) {
    // A step of (6, 8) dm: the unit step is (0.6, 0.8), the 60 dm half width gives
    // offX = 48 and offY = 36; (-6, -8) gives the negatives.
    fix({100, 100});
    fix({106, 108});
    fix({100, 100});
    ASSERT_EQ(appState.work.strips.size(), 2);
    const TrackEdge& a = appState.work.strips[0];
    EXPECT_NEAR(a.leftX, 106 - 48, 1e-5);
    EXPECT_NEAR(a.leftY, 108 + 36, 1e-5);
    EXPECT_NEAR(a.rightX, 106 + 48, 1e-5);
    EXPECT_NEAR(a.rightY, 108 - 36, 1e-5);
    const TrackEdge& b = appState.work.strips[1];
    EXPECT_NEAR(b.leftX, 100 + 48, 1e-5);
    EXPECT_NEAR(b.leftY, 100 - 36, 1e-5);

    // A half width of 55.5 dm and a step east-north-east: the offsets keep their fractions.
    SetUp();
    appState.settings.implementHalfWidth = 555;
    fix({100, 100});
    fix({107, 101});  // unit (0.98995, 0.14142): 54.94 and 7.85
    const TrackEdge& c = appState.work.strips[0];
    EXPECT_NEAR(c.leftX, 107 - 55.5 / std::sqrt(50.0), 1e-5);
    EXPECT_NEAR(c.leftY, 101 + 55.5 * 7 / std::sqrt(50.0), 1e-5);
    EXPECT_NEAR(c.rightX, 107 + 55.5 / std::sqrt(50.0), 1e-5);
}

TEST_F(FixProcessing, HeadingIsSmoothedOnlyOnSteadyTravel) {
    const double unitEast = 1.0 / std::sqrt(101.0);
    const double unitNorth = 10.0 / std::sqrt(101.0);
    // The first twenty records of a work take the step itself, even on a slight turn.
    fix({0, 10});
    drive({0, 20}, {0, 10}, 10);
    fix({1, 120});
    EXPECT_NEAR(appState.heading.east, unitEast, 1e-6);

    drive({1, 130}, {0, 10}, 20);
    fix({1, 330});  // straight on: the history holds 20 steps north
    ASSERT_EQ(appState.work.strips.size(), 32);
    EXPECT_FLOAT_EQ(appState.heading.north, 1.0f);

    // A slight turn: the mean of 19 steps north and one to the right takes over.
    fix({2, 340});
    EXPECT_NEAR(appState.heading.east, unitEast / 20.0, 1e-6);
    EXPECT_NEAR(appState.heading.north, (19.0 + unitNorth) / 20.0, 1e-6);

    // Turning back: the mean is far from the last heading, the step itself is used.
    fix({2, 330});
    EXPECT_NEAR(appState.heading.east, 0.0f, 1e-6);
    EXPECT_FLOAT_EQ(appState.heading.north, -1.0f);
}

TEST_F(FixProcessing, PausedFixesMoveTheVehicleButRecordNothing) {
    fix({0, 10});
    drive({0, 20}, {0, 10}, 3);  // records at 20, 30, 40
    appState.ui.paused = 1;
    drive({0, 50}, {0, 10}, 3);
    EXPECT_TRUE(at({0, 70}));
    EXPECT_EQ(appState.work.strips.size(), 3);
    EXPECT_NEAR(appState.work.distance, 20, 1e-5);
    appState.ui.paused = 0;
    fix({0, 80});
    ASSERT_EQ(appState.work.strips.size(), 4);
    // The quad from y = 40 to y = 80 is counted; only the step itself adds distance.
    EXPECT_NEAR(appState.work.workedArea, 2 * 10 * 120 + 40 * 120, 1e-3);
    EXPECT_NEAR(appState.work.distance, 30, 1e-5);
}

TEST_F(FixProcessing, StripsAreRecordedWhilePointsAAndBAreSet) {
    appState.ui.screenState = kStateSettingAB;
    fix({0, 10});
    drive({0, 20}, {0, 10}, 3);
    EXPECT_EQ(appState.work.strips.size(), 3);
    EXPECT_EQ(appState.guide.guideNumber, 0);
}

struct GuidanceRow {
    PlanePoint from, step;
    int line;
    double crossTrack;
    int arrows;
    int steerLeft;
    const char* source;
};

TEST_F(FixProcessing, GuidanceAlongTheAbLine) {
    const GuidanceRow rows[] = {
        {{130.5, 0}, {0, 10}, 1, 10.5, 1, 1, "north, right of line 1: steer left"},
        {{130.5, 500}, {0, -10}, 1, -10.5, 1, 0, "south, left of line 1: steer right"},
        {{120.3, 0}, {0, 10}, 1, 0.3, 0, 1, "3 cm right of line 1"},
        {{119.7, 0}, {0, 10}, 1, -0.3, 0, 0, "3 cm left of line 1"},
        {{-265.2, 0}, {0, 10}, -2, -25.2, 2, 0, "25 dm left of line -2"},
        {{-214.8, 0}, {0, 10}, -2, 25.2, 2, 1, "25 dm right of line -2"},
    };
    for (const GuidanceRow& row : rows) {
        SetUp();
        setAbLine(appState.work.guidance, {0.0, 0.0}, {0.0, 100.0}, 1200 / 10);
        appState.ui.screenState = kStateGuidance;
        fix(row.from);
        fix({row.from.x + row.step.x, row.from.y + row.step.y});
        EXPECT_EQ(appState.guide.guideNumber, row.line) << row.source;
        EXPECT_NEAR(appState.guide.crossTrack, row.crossTrack, 1e-5) << row.source;
        EXPECT_EQ(appState.guide.arrowCount, row.arrows) << row.source;
        EXPECT_EQ(appState.guide.steerLeft, row.steerLeft) << row.source;

        // The followed line and its two neighbours, 1500 zoomed dm both ways from the foot.
        double footX = row.line * 120.0;
        double footY = row.from.y + row.step.y;
        const Vec2* w = appState.guide.guideLinesWorld;
        const double xs[] = {footX, footX, footX - 120, footX - 120, footX + 120, footX + 120};
        for (int i = 0; i < 6; ++i) {
            EXPECT_NEAR(w[i].x, xs[i], 1e-5) << row.source << " end " << i;
            EXPECT_NEAR(w[i].y, footY + (i % 2 == 0 ? 4500.0 : -4500.0), 1e-5) << row.source;
        }
    }
}

}  // namespace
