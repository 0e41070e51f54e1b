// Saving a work: shapes per segment, ring order, attributes, names, and the set-up failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "export/ShapefileChooser.h"
#include "export/ShapefileExport.h"
#include "export/ShapefileReview.h"
#include "guidance/Projection.h"
#include "tests/export/WorkFileSupport.h"

using namespace work_test;

namespace {

struct ShapeInfo {
    int vertices = 0;
    std::vector<double> x, y;
};

struct SavedWork {
    int type = 0;
    std::vector<ShapeInfo> shapes;
    std::vector<std::string> names;
    std::vector<double> xref, yref;
    std::vector<std::string> fields;
};

SavedWork readBack(const std::string& base) {
    SavedWork work;
    SHPHandle shp = SHPOpen(base.c_str(), "rb");
    DBFHandle dbf = DBFOpen(base.c_str(), "rb");
    if (!shp || !dbf) {
        ADD_FAILURE() << "cannot open " << base;
        if (shp) SHPClose(shp);
        if (dbf) DBFClose(dbf);
        return work;
    }
    int count = 0;
    SHPGetInfo(shp, &count, &work.type, nullptr, nullptr);
    for (int i = 0; i < count; ++i) {
        SHPObject* o = SHPReadObject(shp, i);
        ShapeInfo info;
        info.vertices = o->nVertices;
        info.x.assign(o->padfX, o->padfX + o->nVertices);
        info.y.assign(o->padfY, o->padfY + o->nVertices);
        work.shapes.push_back(info);
        SHPDestroyObject(o);
    }
    for (int f = 0; f < DBFGetFieldCount(dbf); ++f) {
        char name[12];
        int width = 0, decimals = 0;
        DBFFieldType type = DBFGetFieldInfo(dbf, f, name, &width, &decimals);
        work.fields.push_back(std::string(name) + ":" + std::to_string(int(type)) + ":" +
                              std::to_string(width) + "." + std::to_string(decimals));
    }
    for (int r = 0; r < DBFGetRecordCount(dbf); ++r) {
        work.names.push_back(DBFReadStringAttribute(dbf, r, 0));
        work.xref.push_back(DBFReadDoubleAttribute(dbf, r, 1));
        work.yref.push_back(DBFReadDoubleAttribute(dbf, r, 2));
    }
    SHPClose(shp);
    DBFClose(dbf);
    return work;
}

class ShapefileExportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        headless();
        beginWork();
    }
    ScratchFolder folder;
};

TEST_F(ShapefileExportTest, ASegmentLongerThanAShapeGoesOnInTheNextAndReviewsWhole) {
    // Shapes of at most 8 pairs: the 5 records before the pause fit one, the 20 after it take
    // three, each starting with the pair the one before ended with.
    driveNorth(25);
    appState.work.pauseMarks = {5};
    std::string base = folder / "long";
    ASSERT_EQ(exportShapefile(base + ".shp", appState.work, appState.projection, 8), 1);
    SavedWork saved = readBack(base);
    std::vector<int> vertices;
    for (const ShapeInfo& s : saved.shapes) vertices.push_back(s.vertices);
    EXPECT_EQ(vertices, (std::vector<int>{11, 17, 17, 13}));
    EXPECT_EQ(saved.names.size(), 4u);
    // Shape 2 begins where shape 1 ends: its first left and right points are shape 1's last.
    ASSERT_EQ(saved.shapes.size(), 4u);
    const ShapeInfo &one = saved.shapes[1], &two = saved.shapes[2];
    EXPECT_EQ(two.y[0], one.y[7]);
    EXPECT_EQ(two.x[0], one.x[7]);
    EXPECT_EQ(two.x[15], one.x[8]);

    // The review takes the pieces as the one segment they are: 25 records, one pause.
    beginWork(0.0, 0.0);
    std::string path = base + ".shp";
    ASSERT_EQ(readShapefileForReview(path, appState.projection, appState.work, appState.review), 1);
    ASSERT_EQ(appState.review.edges.size(), 25u);
    EXPECT_EQ(appState.work.pauseMarks, (std::vector<std::uint32_t>{5, 25}));
    double replayed = 0.0;
    for (std::size_t i = 1; i < appState.review.edges.size(); ++i) {
        if (i == 5) continue;
        const TrackEdge& a = appState.review.edges[i - 1];
        const TrackEdge& b = appState.review.edges[i];
        EXPECT_NEAR(b.leftY - a.leftY, 10.0, 0.01) << i;
        replayed += (b.leftY - a.leftY) * (b.rightX - b.leftX);
    }
    // Every step but the one across the pause: 23 of 10 dm, 120 dm wide.
    EXPECT_NEAR(replayed, 23 * 10.0 * 120.0, 1.0);
}

TEST_F(ShapefileExportTest, OneShapePerSegmentWithPausesSplittingTheWork) {
    struct Case {
        std::vector<std::uint32_t> marks;
        std::vector<int> vertices;
    };
    // Marks as the driver's taps leave them; a pause and a resume with no fix between them
    // leave an empty segment, which still is a shape with its attribute record.
    const Case cases[] = {
        {{}, {21}}, {{3, 6}, {7, 7, 9}}, {{3, 3}, {7, 0, 15}}, {{0}, {0, 21}}, {{10}, {21, 0}},
    };
    for (const Case& c : cases) {
        beginWork();
        driveNorth(10);
        appState.work.pauseMarks = c.marks;
        std::string base = folder / "work";
        ASSERT_EQ(exportShapefile(base + ".shp", appState.work, appState.projection), 1);
        SavedWork saved = readBack(base);
        EXPECT_EQ(saved.type, SHPT_POLYGON);
        std::vector<int> vertices;
        for (const ShapeInfo& s : saved.shapes) vertices.push_back(s.vertices);
        EXPECT_EQ(vertices, c.vertices) << c.marks.size() << " marks";
        EXPECT_EQ(saved.names.size(), c.vertices.size());
    }
}

TEST_F(ShapefileExportTest, RingRunsAlongTheLeftEdgeAndBackAlongTheRight) {
    record(-60, 0, 60, 0);
    record(-60, 100, 60, 100);
    record(-50, 200, 70, 210);
    ASSERT_EQ(exportShapefile(folder / "ring.shp", appState.work, appState.projection), 1);
    SavedWork saved = readBack(folder / "ring");
    ASSERT_EQ(saved.shapes.size(), 1u);
    const ShapeInfo& ring = saved.shapes[0];
    ASSERT_EQ(ring.vertices, 7);

    openInverseProjection(appState.projection);
    const PlanePoint order[] = {{-60, 0}, {-60, 100}, {-50, 200}, {70, 210}, {60, 100}, {60, 0}};
    for (int v = 0; v < 6; ++v) {
        double lon = 0, lat = 0;
        unprojectPoint(appState.projection, appState.work.plane, order[v], lon, lat);
        EXPECT_DOUBLE_EQ(ring.x[v], lon) << "vertex " << v;
        EXPECT_DOUBLE_EQ(ring.y[v], lat) << "vertex " << v;
    }
    closeInverseProjection(appState.projection);
    // Closed by its first vertex once more.
    EXPECT_EQ(ring.x.front(), ring.x.back());
    EXPECT_EQ(ring.y.front(), ring.y.back());
}

TEST_F(ShapefileExportTest, EveryRecordCarriesThePathAndTheOrigin) {
    driveNorth(4);
    pauseWork();
    driveNorth(4, 100);
    pauseWork();
    driveNorth(4, 200);
    std::string path = folder / "field.shp";
    ASSERT_EQ(exportShapefile(path, appState.work, appState.projection), 1);
    SavedWork saved = readBack(folder / "field");
    EXPECT_EQ(saved.fields,
              (std::vector<std::string>{"NAME:0:255.0", "XREF:2:20.16", "YREF:2:20.16"}));
    ASSERT_EQ(saved.names.size(), 3u);
    for (std::size_t r = 0; r < 3; ++r) {
        EXPECT_EQ(saved.names[r], path);
        EXPECT_EQ(saved.xref[r], kOriginLon);
        EXPECT_EQ(saved.yref[r], kOriginLat);
    }
}

TEST_F(ShapefileExportTest, WesternAndSouthernOriginsAreSavedInFull) {
    // Sixteen decimals leave room for only three characters before the point: -100 degrees
    // and beyond are written with the decimals that fit rather than failing the save.
    const double origins[][2] = {{-122.4194155, 37.7749295},
                                 {-58.381592, -34.603722},
                                 {-179.9, -89.9},
                                 {151.2093, -33.8688}};
    for (const auto& origin : origins) {
        beginWork(origin[0], origin[1]);
        driveNorth(3);
        ASSERT_EQ(exportShapefile(folder / "far.shp", appState.work, appState.projection), 1)
            << origin[0];
        SavedWork saved = readBack(folder / "far");
        ASSERT_EQ(saved.xref.size(), 1u);
        EXPECT_NEAR(saved.xref[0], origin[0], 1e-13);
        EXPECT_NEAR(saved.yref[0], origin[1], 1e-13);
    }
}

TEST_F(ShapefileExportTest, NameWithoutExtensionAndOverlongNames) {
    driveNorth(3);
    std::string typed = folder / "meadow";
    ASSERT_EQ(exportShapefile(typed, appState.work, appState.projection), 1);
    for (const char* ext : {".shp", ".shx", ".dbf"})
        EXPECT_TRUE(std::filesystem::exists(typed + ext)) << ext;
    EXPECT_EQ(readBack(typed).names, std::vector<std::string>{typed});

    // A path longer than the field is cut to it, at a character boundary, and still saved.
    std::string deep = folder.path() + "/";
    while (deep.size() < 258) deep += "\xC3\xA4";  // ä
    std::filesystem::create_directories(deep);
    std::string longPath = deep + "/acker.shp";
    ASSERT_EQ(exportShapefile(longPath, appState.work, appState.projection), 1);
    auto names = readBack(deep + "/acker").names;
    ASSERT_EQ(names.size(), 1u);
    EXPECT_LE(names[0].size(), 255u);
    EXPECT_GE(names[0].size(), 254u);
    EXPECT_EQ(names[0], longPath.substr(0, names[0].size()));
    EXPECT_EQ((names[0].size() - folder.path().size() - 1) % 2, 0u) << "a character was split";
}

TEST_F(ShapefileExportTest, SetUpFailuresAreReportedWithTheirMessages) {
    driveNorth(3);
    auto& platform = headless();
    std::size_t before = platform.messages().size();
    EXPECT_EQ(
        exportShapefile(folder / "missing-folder/work.shp", appState.work, appState.projection), 0);
    auto messages = platform.messages();
    ASSERT_EQ(messages.size(), before + 1);
    EXPECT_EQ(messages[before], "Unable to create shp file\n");
    // A table that cannot take the place of what stands at its name fails the save as a whole:
    // the files written so far go, and nothing of the new work is left.
    std::filesystem::create_directory(folder / "blocked.dbf");
    EXPECT_EQ(exportShapefile(folder / "blocked.shp", appState.work, appState.projection), 0);
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        left.push_back(entry.path().filename());
    EXPECT_EQ(left, std::vector<std::string>{"blocked.dbf"});
    // The inverse projection is not left open by a failed save.
    EXPECT_EQ(appState.projection.inverseTransform, nullptr);
}

TEST_F(ShapefileExportTest, ChooserAsksInTheRightModeAndCancelWritesNothing) {
    auto& platform = headless();
    std::string path = "left over";
    platform.queueFileAnswer(std::nullopt);
    EXPECT_FALSE(chooseShapefile(path, false));
    EXPECT_EQ(path, "");
    platform.queueFileAnswer(folder / "chosen");
    EXPECT_TRUE(chooseShapefile(path, true));
    EXPECT_EQ(path, folder / "chosen");
    auto modes = platform.dialogsAsked();
    ASSERT_GE(modes.size(), 2u);
    EXPECT_EQ(modes[modes.size() - 2], platform::FileDialogMode::Save);
    EXPECT_EQ(modes.back(), platform::FileDialogMode::Open);
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

// GDAL's own shapefile reader sees the fields, one feature per segment and the ring sizes.
TEST_F(ShapefileExportTest, OgrinfoReadsTheSavedWork) {
    driveNorth(5);
    pauseWork();
    driveNorth(3, 100);
    std::string path = folder / "ogr.shp";
    ASSERT_EQ(exportShapefile(path, appState.work, appState.projection), 1);
    std::string command = "ogrinfo -ro -al -q '" + path + "' 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[4096];
    while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, got);
    ASSERT_EQ(pclose(pipe), 0) << output;
    EXPECT_NE(output.find("OGRFeature(ogr):0"), std::string::npos) << output;
    EXPECT_NE(output.find("OGRFeature(ogr):1"), std::string::npos);
    EXPECT_EQ(output.find("OGRFeature(ogr):2"), std::string::npos);
    EXPECT_NE(output.find("NAME (String) = " + path), std::string::npos);
    EXPECT_NE(output.find("XREF (Real) = 16.5"), std::string::npos);
    EXPECT_NE(output.find("YREF (Real) = 48.25"), std::string::npos);
    // The rings as written: 2 x 5 and 2 x 3 vertices, each closed by its first once more.
    std::vector<int> vertices;
    for (auto at = output.find("POLYGON (("); at != std::string::npos;
         at = output.find("POLYGON ((", at + 1)) {
        std::string ring = output.substr(at, output.find("))", at) - at);
        vertices.push_back(int(std::count(ring.begin(), ring.end(), ',')) + 1);
    }
    EXPECT_EQ(vertices, (std::vector<int>{11, 7}));

    std::string schema;
    command = "ogrinfo -ro -so -al '" + path + "' 2>&1";
    pipe = popen(command.c_str(), "r");
    while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) schema.append(buffer, got);
    pclose(pipe);
    EXPECT_NE(schema.find("Geometry: Polygon"), std::string::npos) << schema;
    EXPECT_NE(schema.find("Feature Count: 2"), std::string::npos);
    EXPECT_NE(schema.find("NAME: String (255.0)"), std::string::npos);
    EXPECT_NE(schema.find("XREF: Real (20.16)"), std::string::npos);
    EXPECT_NE(schema.find("YREF: Real (20.16)"), std::string::npos);
}

}  // namespace
