// Loading a saved work for a review: records, marks, positions and headings, the origin, and
// files that are no work.
#include <gtest/gtest.h>

#include <fstream>

#include "export/ShapefileReview.h"
#include "guidance/Projection.h"
#include "tests/export/WorkFileSupport.h"

using namespace work_test;

namespace {

class ShapefileReviewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        beginWork(0.0, 0.0);  // whatever was loaded before
        appState.work.strips.resize(7);
    }
    // Writes the rings in plane decimetres of the default origin as a work file.
    void writePlaneWork(const std::string& base,
                        const std::vector<std::vector<PlanePoint>>& rings) {
        beginWork();
        openInverseProjection(appState.projection);
        std::vector<Ring> shapes;
        for (const auto& points : rings) {
            Ring ring;
            for (PlanePoint p : points) {
                double lon, lat;
                unprojectPoint(appState.projection, appState.work.plane, p, lon, lat);
                ring.x.push_back(lon);
                ring.y.push_back(lat);
            }
            shapes.push_back(ring);
        }
        closeInverseProjection(appState.projection);
        writeShapefile(base, SHPT_POLYGON, shapes);
        beginWork(0.0, 0.0);
    }
    int load(std::string path) {
        return readShapefileForReview(path, appState.projection, appState.work, appState.review);
    }
    ScratchFolder folder;
};

bool near(PlanePoint a, PlanePoint b) {
    return std::abs(a.x - b.x) <= 1 && std::abs(a.y - b.y) <= 1;
}

TEST_F(ShapefileReviewTest, OnePolygonGivesItsPointPairs) {
    // L0, L1, L2, R2, R1, R0 of a drive north with a 120 dm implement.
    writePlaneWork(folder / "one", {{{-60, 0}, {-60, 10}, {-60, 20}, {60, 20}, {60, 10}, {60, 0}}});
    std::string path = folder / "one.shp";
    ASSERT_EQ(readShapefileForReview(path, appState.projection, appState.work, appState.review), 1);
    EXPECT_EQ(path, folder / "one");

    EXPECT_EQ(appState.work.strips.size(), 0);
    EXPECT_TRUE(appState.work.pauseMarks.empty());
    EXPECT_EQ(appState.work.plane.originLonLat[0], kOriginLon);
    EXPECT_EQ(appState.work.plane.originLonLat[1], kOriginLat);
    ASSERT_EQ(appState.review.positions.size(), 3u);
    ASSERT_EQ(appState.review.headings.size(), 3u);
    for (int j = 0; j < 3; ++j) {
        const TrackEdge& r = appState.review.edges[j];
        EXPECT_TRUE(near({r.leftX, r.leftY}, {-60.0, 10.0 * j})) << j;
        EXPECT_TRUE(near({r.rightX, r.rightY}, {60.0, 10.0 * j})) << j;
        PlanePoint mid = appState.review.positions[j];
        EXPECT_DOUBLE_EQ(mid.x, (r.leftX + r.rightX) / 2) << j;
        EXPECT_DOUBLE_EQ(mid.y, (r.leftY + r.rightY) / 2) << j;
        // Left and right 120 dm apart across a northward drive: heading north.
        EXPECT_NEAR(appState.review.headings[j].x, 0.0, 0.01) << j;
        EXPECT_NEAR(appState.review.headings[j].y, 1.0, 1e-4) << j;
    }
}

TEST_F(ShapefileReviewTest, SeveralPolygonsGiveMarksAfterEachUsableShape) {
    writePlaneWork(folder / "two", {{{0, 0}, {0, 10}, {0, 20}, {120, 20}, {120, 10}, {120, 0}},
                                    {{0, 50}, {0, 60}, {120, 60}, {120, 50}},
                                    {{0, 80}, {0, 90}, {120, 90}}});
    ASSERT_EQ(load(folder / "two.shp"), 1);
    EXPECT_EQ(appState.review.positions.size(), 5u);
    EXPECT_EQ(appState.work.pauseMarks, (std::vector<std::uint32_t>{3, 5}));
    EXPECT_TRUE(near({appState.review.edges[3].leftX, appState.review.edges[3].leftY}, {0, 50}));
    EXPECT_TRUE(
        near({appState.review.edges[4].rightX, appState.review.edges[4].rightY}, {120, 60}));
    // Driving south: left is east.
    writePlaneWork(folder / "south", {{{60, 20}, {60, 10}, {-60, 10}, {-60, 20}}});
    ASSERT_EQ(load(folder / "south.shp"), 1);
    EXPECT_NEAR(appState.review.headings[0].y, -1.0, 1e-4);
}

TEST_F(ShapefileReviewTest, MorePairsThanSixteenBitsCountLoadWhole) {
    // Works of the 65 535-record program stopped there; a longer one loads every pair.
    const int pairs = 65535 + 100;
    writeShapefile(folder / "big", SHPT_POLYGON,
                   {northwardRing(40000), northwardRing(pairs - 40000, 16.51)});
    ASSERT_EQ(load(folder / "big.shp"), 1);
    EXPECT_EQ(appState.review.positions.size(), std::size_t(pairs));
    EXPECT_EQ(appState.review.headings.size(), std::size_t(pairs));
    EXPECT_EQ(appState.work.pauseMarks, (std::vector<std::uint32_t>{40000, std::uint32_t(pairs)}));
}

TEST_F(ShapefileReviewTest, FilesThatAreNoWorkGiveZeroAndNeverCrash) {
    writeShapefile(folder / "points", SHPT_POINT, {Ring{{16.5}, {48.25}}});
    writeShapefile(folder / "lines", SHPT_ARC, {northwardRing(2)});
    writeShapefile(folder / "fields", SHPT_POLYGON, {northwardRing(2)}, {"YREF", "XREF"});
    writeShapefile(folder / "noorigin", SHPT_POLYGON, {northwardRing(2)}, {"NAME", "XREF", "YREF"},
                   999.0, 48.0);
    writeShapefile(folder / "empty", SHPT_POLYGON, {});
    for (const char* name : {"points", "lines", "fields", "noorigin", "empty", "missing"})
        EXPECT_EQ(load(folder / (std::string(name) + ".shp")), 0) << name;

    // Truncated geometry: whatever shapelib still reads is loaded, nothing more. Each ring of
    // 50 pairs is a record of 8 + 44 + 4 + 4 + 4 + 100 * 16 = 1664 bytes, so 700 bytes off the
    // end cut into the second record only: the first one's 50 pairs are loaded, the second not.
    writeShapefile(folder / "cut", SHPT_POLYGON, {northwardRing(50), northwardRing(50)});
    std::filesystem::resize_file(folder / "cut.shp",
                                 std::filesystem::file_size(folder / "cut.shp") - 700);
    EXPECT_EQ(load(folder / "cut.shp"), 1);
    EXPECT_EQ(appState.review.positions.size(), 50u);
}

TEST_F(ShapefileReviewTest, TableWithoutShapefileLoadsNothing) {
    writeShapefile(folder / "tableonly", SHPT_POLYGON, {northwardRing(3)});
    std::filesystem::remove(folder / "tableonly.shp");
    ASSERT_EQ(load(folder / "tableonly.shp"), 1);
    EXPECT_TRUE(appState.review.positions.empty());
    EXPECT_EQ(appState.work.plane.originLonLat[0], kOriginLon);
}

}  // namespace
