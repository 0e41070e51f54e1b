// The work record: strip records, area by cross products, distance with every fraction kept,
// and records that go on past the old 16-bit count.
#include <gtest/gtest.h>

#include "guidance/WorkedStrip.h"
#include "tests/guidance/GuidanceTestSupport.h"

namespace {

class WorkedStrip : public ::testing::Test {
  protected:
    void SetUp() override { guidance_test::resetWork(); }
    // A record for a step north (offX = 60, offY = 0 for the 60 dm half width) or south.
    static void north(int x, int y, std::int64_t d2 = 100) {
        appendStrip(guidance_test::work, {double(x), double(y)}, 60, 0, double(d2));
    }
    static void south(int x, int y, std::int64_t d2 = 100) {
        appendStrip(guidance_test::work, {double(x), double(y)}, -60, 0, double(d2));
    }
};

TEST_F(WorkedStrip, ThreeRecordsNorth) {
    north(0, 10);
    // The first record of a work adds neither distance nor area.
    EXPECT_EQ(guidance_test::work.distance, 0);
    EXPECT_EQ(guidance_test::work.workedArea, 0.0);
    north(0, 20);
    north(0, 30);
    ASSERT_EQ(guidance_test::work.strips.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const TrackEdge& e = guidance_test::work.strips[i];
        EXPECT_EQ(e.leftX, -60);
        EXPECT_EQ(e.rightX, 60);
        EXPECT_EQ(e.leftY, 10 * (i + 1));
        EXPECT_EQ(e.rightY, 10 * (i + 1));
    }
    EXPECT_DOUBLE_EQ(guidance_test::work.workedArea, 2 * 10 * 120);
    EXPECT_EQ(guidance_test::work.distance, 20);
}

TEST_F(WorkedStrip, DistanceKeepsEveryStepWhole) {
    struct Row {
        std::int64_t d2;
        double added;
        const char* source;
    } rows[] = {
        {7 * 7 + 8 * 8, std::sqrt(113.0), "a (7, 8) step is 10.63 dm, fractions kept"},
        {36, 6, "a whole 6 dm"},
        {99, std::sqrt(99.0), "9.95 dm"},
        {std::int64_t(3000000) * 3000000, 3000000, "a 300 km jump fits"},
    };
    for (const auto& row : rows) {
        SetUp();
        north(0, 0);
        north(0, 10, row.d2);
        EXPECT_DOUBLE_EQ(guidance_test::work.distance, row.added) << row.source;
        north(0, 20, row.d2);
        EXPECT_DOUBLE_EQ(guidance_test::work.distance, 2 * row.added) << row.source;
    }
}

TEST_F(WorkedStrip, GroundDrivenTwiceCountsTwice) {
    north(0, 10);
    north(0, 20);
    north(0, 30);
    south(0, 20);
    south(0, 10);
    EXPECT_DOUBLE_EQ(guidance_test::work.workedArea, 2 * (2 * 10 * 120));
}

TEST_F(WorkedStrip, TriangleAreaIsExact) {
    struct Row {
        PlanePoint a, b, c;
        double area;
        const char* source;
    } rows[] = {
        {{0, 0}, {3, 0}, {0, 1}, 1.5, "half a decimetre counts"},
        {{0, 0}, {0, 1}, {3, 0}, 1.5, "clockwise the same"},
        {{5, 5}, {6, 6}, {7, 7}, 0.0, "on one line"},
        {{-2000000000, -2000000000},
         {2000000000, -2000000000},
         {-2000000000, 2000000000},
         8e18,
         "the corners of the plane: the cross product needs more than 64 bits"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(triangleArea(row.a, row.b, row.c), row.area) << row.source;
    }
}

TEST_F(WorkedStrip, StepLength) {
    guidance_test::work.previousPosition = {-3, 10};
    guidance_test::work.position = {0, 14};
    EXPECT_DOUBLE_EQ(stepLength(guidance_test::work), 5.0);
    guidance_test::work.previousPosition = {2147483647, 0};
    guidance_test::work.position = {-2147483647 - 1, 0};
    EXPECT_DOUBLE_EQ(stepLength(guidance_test::work), 4294967295.0);
}

TEST_F(WorkedStrip, RecordingGoesOnPastSixtyFiveThousandRecords) {
    // Where the count was 16 bits wide the work stopped at 65 535 records; now the quad that
    // spans the first block's end counts like any other.
    guidance_test::work.strips.resize(65533);
    guidance_test::work.strips.push_back({-60, 0, 60, 0});
    for (int y = 10; y <= 40; y += 10) north(0, y);
    EXPECT_EQ(guidance_test::work.strips.size(), 65538u);
    EXPECT_EQ(guidance_test::work.workFull, 0);
    EXPECT_DOUBLE_EQ(guidance_test::work.workedArea, 4 * 10 * 120);
    EXPECT_EQ(guidance_test::work.distance, 40);
    EXPECT_EQ(guidance_test::work.strips[65533].leftY, 0);
    EXPECT_EQ(guidance_test::work.strips[65535].leftY, 20);
    EXPECT_EQ(guidance_test::work.strips[65536].leftY, 30);
    EXPECT_EQ(guidance_test::work.strips.back().rightY, 40);
    // The records the resize added are zero.
    EXPECT_EQ(guidance_test::work.strips[0].rightX, 0);
    EXPECT_EQ(guidance_test::work.strips[65532].leftX, 0);
}

}  // namespace
