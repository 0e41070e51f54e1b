// A saved work as other GIS programs see it: GDAL reads it without a complaint, in WGS 84, with
// its name intact and its vertices where PROJ puts the strip edges; a save that cannot be
// completed leaves nothing behind and the old work whole; an older file still loads.
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>
#include <sys/resource.h>

#include <cpl_error.h>
#include <algorithm>
#include <csignal>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "export/KmlExport.h"
#include "export/ShapefileExport.h"
#include "export/ShapefileReview.h"
#include "export/WorkSegments.h"
#include "guidance/WorkedStrip.h"
#include "tests/export/WorkFileSupport.h"
#include "tests/guidance/GuidanceTestSupport.h"

namespace {

using namespace work_test;

std::vector<std::string> gdalComplaints;
void collectComplaints(CPLErr level, CPLErrorNum, const char* message) {
    if (level >= CE_Warning) gdalComplaints.push_back(message);
}

// Two passes with a turn between them and fractions of a decimetre everywhere.
void recordTwoPasses() {
    beginWork();
    for (int i = 0; i < 30; ++i) record(-60.37, 10.3 * i + 0.11, 60.37, 10.3 * i + 0.11);
    appState.work.pauseMarks.push_back(appState.work.strips.size());
    for (int i = 0; i < 30; ++i)
        record(180.62, 300.0 - 10.3 * i, 60.88, 300.0 - 10.3 * i);  // driving south
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class WorkFileValidity : public ::testing::Test {
  protected:
    void SetUp() override {
        headless();
        GDALAllRegister();
    }
    ScratchFolder folder;
};

TEST_F(WorkFileValidity, GdalReadsTheSaveWithoutComplaintAsWgs84WithItsNameIntact) {
    recordTwoPasses();
    const std::string path = folder.path() + "/Feld Müller.shp";
    ASSERT_EQ(exportShapefile(path, appState.work, appState.projection), 1);
    EXPECT_EQ(readAll(folder.path() + "/Feld Müller.cpg"), "UTF-8");

    gdalComplaints.clear();
    CPLPushErrorHandler(collectComplaints);
    std::unique_ptr<GDALDataset> data(
        GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
    ASSERT_TRUE(data);
    OGRLayer* layer = data->GetLayer(0);
    ASSERT_NE(layer, nullptr);
    OGRSpatialReference wgs84;
    wgs84.SetWellKnownGeogCS("WGS84");
    ASSERT_NE(layer->GetSpatialRef(), nullptr);
    const char* sameness[] = {"IGNORE_DATA_AXIS_TO_SRS_AXIS_MAPPING=YES", nullptr};
    EXPECT_TRUE(layer->GetSpatialRef()->IsSame(&wgs84, sameness))
        << layer->GetSpatialRef()->GetName();

    guidance_test::Utm utm(33, true);  // the work's zone, through PROJ
    int features = 0;
    const RecordRange segments[] = {{0, 30}, {30, 60}};
    for (auto& feature : *layer) {
        ASSERT_LT(features, 2);
        EXPECT_STREQ(feature->GetFieldAsString("NAME"), path.c_str());
        OGRGeometry* geometry = feature->GetGeometryRef();
        ASSERT_NE(geometry, nullptr);
        ASSERT_EQ(wkbFlatten(geometry->getGeometryType()), wkbPolygon);
        const OGRLinearRing* ring = geometry->toPolygon()->getExteriorRing();
        ASSERT_EQ(ring->getNumPoints(), 61);
        EXPECT_TRUE(ring->get_IsClosed());
        EXPECT_TRUE(ring->isClockwise());
        EXPECT_TRUE(geometry->IsValid());
        // Vertex j is the left edge of record j, vertex 59 - j its right edge.
        const RecordRange range = segments[features];
        for (int j = 0; j < 30; ++j) {
            const TrackEdge& e = appState.work.strips[range.begin + j];
            for (auto [v, x, y] :
                 {std::tuple{j, e.leftX, e.leftY}, std::tuple{59 - j, e.rightX, e.rightY}}) {
                double east = 0, north = 0;
                utm.forward(ring->getX(v), ring->getY(v), east, north);
                EXPECT_NEAR(east * 10.0 - appState.work.plane.originX, x, 0.1)
                    << features << " " << v;
                EXPECT_NEAR(north * 10.0 - appState.work.plane.originY, y, 0.1)
                    << features << " " << v;
            }
        }
        ++features;
    }
    data.reset();
    CPLPopErrorHandler();
    EXPECT_EQ(features, 2);
    EXPECT_TRUE(gdalComplaints.empty()) << gdalComplaints.front();

    // The KML document closes each ring once: 60 vertices and the first again.
    std::string kmlPath = path;
    ASSERT_EQ(convertShapefileToKml(kmlPath, appState.settings.trackColor), 1);
    std::string kml = readAll(folder.path() + "/Feld Müller.kml");
    auto first = kml.find("<coordinates>\n") + 14;
    auto last = kml.find("</coordinates>", first);
    std::string coordinates = kml.substr(first, last - first);
    EXPECT_EQ(std::count(coordinates.begin(), coordinates.end(), '\n'), 61);
}

TEST_F(WorkFileValidity, AnOlderOpenRingWithoutPrjStillReviewsAndConverts) {
    beginWork();
    openInverseProjection(appState.projection);
    const std::string base = folder.path() + "/old";
    SHPHandle shp = SHPCreate(base.c_str(), SHPT_POLYGON);
    DBFHandle dbf = DBFCreate(base.c_str());
    DBFAddField(dbf, "NAME", FTString, 254, 0);
    DBFAddField(dbf, "XREF", FTDouble, 20, 16);
    DBFAddField(dbf, "YREF", FTDouble, 20, 16);
    const PlanePoint ring[] = {{-60, 0}, {-60, 10}, {-60, 20}, {60, 20}, {60, 10}, {60, 0}};
    double x[6], y[6], z[6] = {};
    for (int v = 0; v < 6; ++v)
        ASSERT_TRUE(unprojectPoint(appState.projection, appState.work.plane, ring[v], x[v], y[v]));
    closeInverseProjection(appState.projection);
    SHPObject* shape = SHPCreateSimpleObject(SHPT_POLYGON, 6, x, y, z);
    SHPWriteObject(shp, -1, shape);
    SHPDestroyObject(shape);
    DBFWriteStringAttribute(dbf, 0, 0, "old");
    DBFWriteDoubleAttribute(dbf, 0, 1, kOriginLon);
    DBFWriteDoubleAttribute(dbf, 0, 2, kOriginLat);
    SHPClose(shp);
    DBFClose(dbf);

    std::string path = base + ".shp";
    ASSERT_EQ(readShapefileForReview(path, appState.projection, appState.work, appState.review), 1);
    ASSERT_EQ(appState.review.positions.size(), 3u);
    EXPECT_NEAR(appState.review.edges[2].leftY, 20.0, 0.01);
    EXPECT_NEAR(appState.review.edges[2].rightX, 60.0, 0.01);
    path = base + ".shp";
    ASSERT_EQ(convertShapefileToKml(path, appState.settings.trackColor), 1);
    std::string kml = readAll(base + ".kml");
    auto first = kml.find("<coordinates>\n") + 14;
    std::string coordinates = kml.substr(first, kml.find("</coordinates>", first) - first);
    EXPECT_EQ(std::count(coordinates.begin(), coordinates.end(), '\n'), 7)
        << "six vertices and the first once more";
}

// A disk that fills up mid-save: shapelib writes short without noticing; the save fails, the
// earlier save under the same name is untouched, and no file of the new one is left.
TEST_F(WorkFileValidity, ASaveThatCannotBeWrittenWholeLeavesTheOldWorkAsItWas) {
    beginWork();
    driveNorth(5);
    const std::string path = folder.path() + "/acre.shp";
    ASSERT_EQ(exportShapefile(path, appState.work, appState.projection), 1);
    const std::string oldShp = readAll(folder.path() + "/acre.shp");
    const std::string oldDbf = readAll(folder.path() + "/acre.dbf");

    driveNorth(3000, 50);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 20000;  // the new geometry needs about 100 kB
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    int result = exportShapefile(path, appState.work, appState.projection);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(readAll(folder.path() + "/acre.shp"), oldShp);
    EXPECT_EQ(readAll(folder.path() + "/acre.dbf"), oldDbf);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"acre.cpg", "acre.dbf", "acre.prj", "acre.shp",
                                               "acre.shx"}));
}

}  // namespace
