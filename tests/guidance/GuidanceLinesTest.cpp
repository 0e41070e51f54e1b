// The AB line, its parallels, the hill-climb to the nearest one and the signed cross-track error.
#include <gtest/gtest.h>

#include <cmath>

#include "guidance/GuidanceLines.h"
#include "guidance/SteeringArrows.h"

namespace {

constexpr Vec2 kNorth{0.0, 1.0};
constexpr Vec2 kSouth{0.0, -1.0};
constexpr Vec2 kEast{1.0, 0.0};

TEST(GuidanceLines, SetUpMakesTwentyOneParallels) {
    GuidanceLines g;
    g.currentLine = 7;
    g.lines.push_back({});
    setAbLine(g, {0.0, 0.0}, {0.0, 100.0}, 120.0);
    EXPECT_EQ(g.currentLine, 0);
    ASSERT_EQ(g.lines.size(), 21u);
    EXPECT_EQ(g.lines.front().number, -10);
    EXPECT_EQ(g.lines.back().number, 10);
    EXPECT_DOUBLE_EQ(g.direction.y, 1.0);
    EXPECT_DOUBLE_EQ(g.leftNormal.x, -1.0);
    // Driving north, line 1 is one spacing to the right (east), line -1 to the left.
    const GuideLine& one = g.lines[findGuideLine(g, 1)];
    const GuideLine& minusOne = g.lines[findGuideLine(g, -1)];
    EXPECT_DOUBLE_EQ(one.start.x, 120.0);
    EXPECT_DOUBLE_EQ(one.end.x, 120.0);
    EXPECT_DOUBLE_EQ(minusOne.start.x, -120.0);
    EXPECT_EQ(findGuideLine(g, 11), -1);
}

struct FollowRow {
    Vec2 a, b;
    double spacing;
    int startLine;
    Vec2 position, travel;
    int line;
    double crossTrack;
    const char* source;
};

TEST(GuidanceLines, FollowNearestLine) {
    const FollowRow rows[] = {
        {{0, 0},
         {0, 100},
         120,
         0,
         {130, 50},
         kNorth,
         1,
         10.0,
         "north, 10 dm right of line 1: steer left"},
        {{0, 0},
         {0, 100},
         120,
         0,
         {130, 50},
         kSouth,
         1,
         -10.0,
         "south, the same point is left of line 1"},
        {{0, 0},
         {0, 100},
         120,
         0,
         {130, 50},
         kEast,
         1,
         -10.0,
         "travel across AB counts as toward A"},
        {{0, 0}, {0, 100}, 120, 0, {120, 50}, kNorth, 1, 0.0, "on line 1"},
        {{0, 0}, {0, 100}, 120, 0, {60, 50}, kNorth, 0, 60.0, "halfway: the tie stays on 0"},
        {{0, 0}, {0, 100}, 120, 1, {60, 50}, kNorth, 1, -60.0, "halfway: the tie stays on 1"},
        {{0, 0}, {0, 100}, 120, 0, {-250, 0}, kNorth, -2, -10.0, "two lines to the left"},
        {{0, 0},
         {100, 0},
         120,
         0,
         {50, -130},
         kEast,
         1,
         10.0,
         "AB east: line 1 lies south, right of the travel"},
        {{0, 0}, {100, 0}, 120, 0, {50, -110}, kEast, 1, -10.0, "AB east, left of line 1"},
        {{0, 0},
         {100, 100},
         100,
         0,
         {100, 0},
         {0.6, 0.8},
         1,
         std::sqrt(5000.0) - 100.0,
         "diagonal AB, 70.7 dm right of AB: line 1 is nearer"},
    };
    for (const FollowRow& row : rows) {
        GuidanceLines g;
        setAbLine(g, row.a, row.b, row.spacing);
        g.currentLine = row.startLine;
        double cross = 99.0;
        Vec2 foot;
        int line = followNearestLine(g, row.position, row.travel, cross, foot);
        EXPECT_EQ(line, row.line) << row.source;
        EXPECT_EQ(g.currentLine, row.line) << row.source;
        EXPECT_NEAR(cross, row.crossTrack, 1e-9) << row.source;
        EXPECT_FALSE(std::signbit(cross) && row.crossTrack == 0.0) << row.source;
        // The foot is on the followed line, square to the vehicle.
        EXPECT_NEAR(distanceToGuideLine(g, foot, line), 0.0, 1e-9) << row.source;
        EXPECT_NEAR((row.position - foot).length(), std::fabs(row.crossTrack), 1e-9) << row.source;
    }
}

TEST(GuidanceLines, FarLinesAreReachedTwoHundredAtATime) {
    GuidanceLines g;
    setAbLine(g, {0.0, 0.0}, {0.0, 100.0}, 120.0);
    const Vec2 far{500 * 120.0 + 3.0, 50.0};
    double cross = 0.0;
    Vec2 foot;
    EXPECT_EQ(followNearestLine(g, far, kNorth, cross, foot), 200);
    EXPECT_EQ(followNearestLine(g, far, kNorth, cross, foot), 400);
    EXPECT_EQ(followNearestLine(g, far, kNorth, cross, foot), 500);
    EXPECT_NEAR(cross, 3.0, 1e-6);
    EXPECT_EQ(followNearestLine(g, far, kNorth, cross, foot), 500);
    // Every line passed on the way is cached once.
    EXPECT_EQ(g.lines.size(), 21u + 490u + 1u);
    // Heading back the other way, again two hundred lines per fix.
    EXPECT_EQ(followNearestLine(g, {-305 * 120.0, 0.0}, kSouth, cross, foot), 300);
}

TEST(GuidanceLines, PointsAAndBTogetherStayFinite) {
    GuidanceLines g;
    setAbLine(g, {40.0, 40.0}, {40.0, 40.0}, 120.0);
    double cross = 0.0;
    Vec2 foot;
    int line = followNearestLine(g, {43.0, 44.0}, kNorth, cross, foot);
    EXPECT_EQ(line, 0);
    EXPECT_TRUE(std::isfinite(cross));
    EXPECT_DOUBLE_EQ(std::fabs(cross), 5.0);
}

TEST(SteeringArrows, OnePerTolerance) {
    struct Row {
        double crossTrack;
        int tolerance;
        int arrows;
        const char* source;
    } rows[] = {
        {25.0, 10, 2, "2.5 tolerances"},
        {-25.0, 10, 2, "left of the line the same"},
        {0.0, 10, 0, "on the line"},
        {9.999, 10, 0, "inside the tolerance"},
        {10.0, 10, 1, "exactly one tolerance"},
        {25.0, 0, 0, "no tolerance: no arrows instead of a division by zero"},
        {2549.0, 10, 254, "the largest count that fits"},
        {2560.0, 10, 255, "256 saturates instead of wrapping to 0"},
        {1e12, 1, 255, "far away"},
        {NAN, 10, 0, "no error to show"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(steeringArrows(row.crossTrack, row.tolerance), row.arrows) << row.source;
}

}  // namespace
