// Fields through the real fix callback and the real farm book: a boundary driven around a known
// shape becomes a field of that shape's area, whichever part of the implement records it; a
// work in a field counts its share of the field, warns at the boundary, is saved into the book
// (read back here by GDAL itself), and is continued the next day with its ground counted once.
#include <gdal.h>
#include <gtest/gtest.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/BackgroundWrites.h"
#include "app/FarmConfig.h"
#include "app/FarmSession.h"
#include "app/FieldSession.h"
#include "app/FieldWork.h"
#include "app/FixPipeline.h"
#include "farm/FarmBook.h"
#include "farm/FieldGeometry.h"
#include "journal/WorkJournal.h"
#include "tests/app/PipelineTestSupport.h"

namespace {

using pipeline_test::PlaneFixes;

constexpr double kLon = 8.55, kLat = 47.4;
constexpr int kHz = 5;
constexpr double kSpeedKnots = 5.4;                           // 10 km/h
constexpr double kStep = kSpeedKnots * 1852.0 / 360.0 / kHz;  // dm between fixes
constexpr double kHalfWidth = 60.0;                           // dm: a 12 m implement

using Ring = std::vector<PlanePoint>;

double ringArea(const Ring& ring) {
    double twice = 0.0;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++)
        twice += ring[j].x * ring[i].y - ring[i].x * ring[j].y;
    return std::fabs(twice) / 2.0;
}

// A rectangle and an L with its notch, corners in dm, anticlockwise; and each inset by d, as a
// vehicle drives it whose recorded point lies d outside its path.
Ring rectangle(double d) {
    return {{d, d}, {4000 - d, d}, {4000 - d, 2500 - d}, {d, 2500 - d}};
}
Ring lShape(double d) {
    return {{d, d},
            {4000 - d, d},
            {4000 - d, 1500 - d},
            {1800 - d, 1500 - d},
            {1800 - d, 3000 - d},
            {d, 3000 - d}};
}

class FieldWork : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ =
            std::filesystem::temp_directory_path() / ("sulco-field-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        farmBookSetting() = (folder_ / "farm.gpkg").string();
        pipeline_test::resetWork(kStateFreeWork);
        appState.settings.headlandPasses = 1;
        appState.settings.lookAheadSeconds = 2.0;
    }
    void TearDown() override {
        stopFarmBook();
        std::filesystem::remove_all(folder_);
    }

    // Every fix of the ring's way round (the start again at the end), 10 km/h at 5 Hz, with
    // the fixes' own times.
    void driveRing(const PlaneFixes& plane, Ring ring, bool clockwise, double beyond) {
        if (clockwise) std::reverse(ring.begin() + 1, ring.end());
        std::vector<PlanePoint> path;
        for (std::size_t i = 0; i < ring.size(); ++i) {
            const PlanePoint a = ring[i], b = ring[(i + 1) % ring.size()];
            const double length = std::hypot(b.x - a.x, b.y - a.y);
            for (double s = 0; s < length; s += kStep)
                path.push_back({a.x + (b.x - a.x) * s / length, a.y + (b.y - a.y) * s / length});
        }
        // Short of the start, or beyond it on along the first side.
        if (beyond < 0) path.resize(path.size() - std::size_t(-beyond / kStep));
        const PlanePoint a = ring[0], b = ring[1];
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        for (double s = 0; s < beyond; s += kStep)
            path.push_back({a.x + (b.x - a.x) * s / length, a.y + (b.y - a.y) * s / length});
        drive(plane, path);
    }

    void drive(const PlaneFixes& plane, const std::vector<PlanePoint>& path) {
        for (const PlanePoint& p : path) {
            GPS_POSITION fix = plane.fixAt(p, float(kSpeedKnots), 0.8f);
            const int tenths = 36000 * 10 + ticks_++ * 10 / kHz;
            fix.utcTime.hour = std::uint16_t(tenths / 36000 % 24);
            fix.utcTime.minute = std::uint16_t(tenths / 600 % 60);
            fix.utcTime.second = std::uint16_t(tenths / 10 % 60);
            std::lock_guard lock(appState.frameLock);
            processFix(fix, FixUse::FreeWork);
            sawBoundaryAhead_ = sawBoundaryAhead_ || workField.boundaryAhead != 0;
            sawHeadland_ = sawHeadland_ || workField.inHeadland != 0;
            sawWorkedAhead_ = sawWorkedAhead_ || appState.work.workedAhead != 0;
        }
    }

    // Up and down passes 2 * kHalfWidth apart from x = first on, each from below the field to
    // beyond its top, turned outside it.
    std::vector<PlanePoint> passes(double first, int count) {
        std::vector<PlanePoint> path;
        for (int n = 0; n < count; ++n) {
            const double x = first + n * 2 * kHalfWidth;
            const bool up = n % 2 == 0;
            for (double y = -300; y <= 2800; y += kStep) path.push_back({x, up ? y : 2500 - y});
            if (n + 1 == count) break;
            const double r = kHalfWidth, cy = up ? 2800 : -300;
            for (double t = kStep / r; t < M_PI; t += kStep / r)
                path.push_back({x + r - r * std::cos(t), cy + (up ? 1 : -1) * r * std::sin(t)});
        }
        return path;
    }

    // Lets the farm thread finish and the screen take in what it did, as the paints do.
    void settle() {
        for (int i = 0; i < 3; ++i) {
            stepFieldWork();
            drainFarmBook();
            takeFarmNews();
        }
        stepFieldWork();
    }

    std::int64_t addRectangleField(const PlaneFixes& plane) {
        FieldEntry field;
        field.name = "North";
        FieldPolygon polygon;
        for (const PlanePoint& p : rectangle(0)) {
            LonLat at;
            plane.lonLatOf(p, at.lon, at.lat);
            polygon.outer.push_back(at);
        }
        field.boundary = {polygon};
        field.areaHa = ringArea(rectangle(0)) * 1e-6;
        field.headlandPasses = 1;
        field.headlandWidthM = 12.0;
        field.headland = headlandLine(field.boundary, 12.0);
        postFarmJob([field](FarmBook* book, const std::string& error) {
            ASSERT_NE(book, nullptr) << error;
            std::string why;
            EXPECT_NE(book->addField(field, why), 0) << why;
        });
        rereadFarmBook();
        drainFarmBook();
        takeFarmNews();
        EXPECT_EQ(farmContents().fields.size(), 1u);
        return farmContents().fields.empty() ? 0 : farmContents().fields[0].id;
    }

    std::filesystem::path folder_;
    int ticks_ = 0;
    bool sawBoundaryAhead_ = false, sawHeadland_ = false, sawWorkedAhead_ = false;
};

struct BoundaryCase {
    friend void PrintTo(const BoundaryCase& c, std::ostream* out) { *out << c.name; }
    const char* name;
    bool lShape;
    std::uint8_t source;
    double offsetM;
    bool clockwise;
    bool closedByDriving;
};

class BoundaryDrive : public FieldWork, public ::testing::WithParamInterface<BoundaryCase> {};

TEST_P(BoundaryDrive, TheFieldHasTheAreaOfTheShapeDrivenAround) {
    const BoundaryCase c = GetParam();
    appState.settings.boundarySource = c.source;
    appState.settings.boundaryOffsetM = c.offsetM;
    prepareBoundaryDrive(kStateFreeWork);
    appState.ui.screenState = kStateFreeWork;
    // A new work forgets its plane: the fixes are placed on the plane set up after it.
    PlaneFixes plane(kLon, kLat);
    // The recorded point lies that far outside the vehicle's path.
    const double d = (c.source == kBoundaryAntenna ? 0.0 : kHalfWidth) + c.offsetM * 10.0;
    const Ring exact = c.lShape ? lShape(0) : rectangle(0);
    const Ring path = c.lShape ? lShape(d) : rectangle(d);
    // Closed by coming back past the start, or stopped 20 m short of it by the driver.
    driveRing(plane, path, c.clockwise, c.closedByDriving ? 300.0 : -200.0);
    if (!c.closedByDriving) {
        EXPECT_TRUE(workField.recorder.has_value()) << "closed before its start";
        finishBoundary();
    }
    settle();
    EXPECT_FALSE(workField.recorder.has_value());
    ASSERT_EQ(farmContents().fields.size(), 1u) << takeFarmNotice();
    const FieldEntry& field = farmContents().fields[0];
    const double exactHa = ringArea(exact) * 1e-6;
    EXPECT_NEAR(field.areaHa, exactHa, 0.005 * exactHa);
    EXPECT_NEAR(fieldAreaM2(field.boundary) * 1e-4, exactHa, 0.005 * exactHa);
    // The work that drove it belongs to the new field.
    EXPECT_EQ(workField.fieldId, field.id);
    EXPECT_TRUE(workField.inPlane);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, BoundaryDrive,
    ::testing::Values(
        BoundaryCase{"RectangleByAntenna", false, kBoundaryAntenna, 0.0, false, true},
        BoundaryCase{"RectangleByLeftEdge", false, kBoundaryLeftEdge, 1.5, true, true},
        BoundaryCase{"RectangleByRightEdge", false, kBoundaryRightEdge, 0.5, false, false},
        BoundaryCase{"LByAntennaOffset", true, kBoundaryAntenna, 3.0, true, false},
        BoundaryCase{"LByLeftEdge", true, kBoundaryLeftEdge, 0.0, true, true},
        BoundaryCase{"LByRightEdgeOffset", true, kBoundaryRightEdge, 2.0, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

// The area of the first work of the book, in square metres of the UTM zone, by GDAL alone.
double savedGroundM2(const std::string& book, int& works, double& groundHa) {
    GDALAllRegister();
    GDALDatasetH ds = GDALOpenEx(book.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    if (!ds) return -1.0;
    OGRLayerH layer = GDALDatasetGetLayerByName(ds, "works");
    double area = -1.0;
    works = layer ? int(OGR_L_GetFeatureCount(layer, TRUE)) : -1;
    if (layer) {
        OGRSpatialReferenceH utm = OSRNewSpatialReference(nullptr);
        OSRImportFromEPSG(utm, 32632);
        OSRSetAxisMappingStrategy(utm, OAMS_TRADITIONAL_GIS_ORDER);
        OGR_L_ResetReading(layer);
        if (OGRFeatureH f = OGR_L_GetNextFeature(layer)) {
            OGRGeometryH g = OGR_G_Clone(OGR_F_GetGeometryRef(f));
            OGRSpatialReferenceH wgs = OSRClone(OGR_L_GetSpatialRef(layer));
            OSRSetAxisMappingStrategy(wgs, OAMS_TRADITIONAL_GIS_ORDER);
            OGRCoordinateTransformationH toUtm = OCTNewCoordinateTransformation(wgs, utm);
            if (g && toUtm && OGR_G_Transform(g, toUtm) == OGRERR_NONE) area = OGR_G_Area(g);
            groundHa = OGR_F_GetFieldAsDouble(f, OGR_F_GetFieldIndex(f, "ground_ha"));
            OCTDestroyCoordinateTransformation(toUtm);
            OSRDestroySpatialReference(wgs);
            OGR_G_DestroyGeometry(g);
            OGR_F_Destroy(f);
        }
        OSRDestroySpatialReference(utm);
    }
    GDALClose(ds);
    return area;
}

TEST_F(FieldWork, AWorkIsCountedInItsFieldSavedAndContinuedWithItsGroundOnce) {
    const std::int64_t id = addRectangleField(PlaneFixes(kLon, kLat));
    prepareFieldWork(kStateFreeWork, id, false);
    appState.ui.screenState = kStateFreeWork;
    PlaneFixes plane(kLon, kLat);
    settle();
    ASSERT_TRUE(workField.inPlane);
    // Ten passes of 12 m from the west side work its western 120 m: 30 % of 400 m by 250 m.
    drive(plane, passes(kHalfWidth, 10));
    const double share = workField.groundInField / workField.shape.areaDm2;
    EXPECT_NEAR(share, 1200.0 * 2500.0 / (4000.0 * 2500.0), 0.005);
    EXPECT_TRUE(sawBoundaryAhead_) << "the passes run out over the boundary";
    EXPECT_TRUE(sawHeadland_);
    const double ground = appState.work.groundArea;

    saveFieldWorkToBook();
    drainFarmBook();
    bool saved = false;
    ASSERT_TRUE(pollFieldWorkSave(saved));
    ASSERT_TRUE(saved);
    int works = 0;
    double groundHa = 0.0;
    const double area = savedGroundM2(farmBookSetting(), works, groundHa);
    EXPECT_EQ(works, 1);
    EXPECT_NEAR(area * 100.0, ground, 0.005 * ground) << "the saved multipolygon is the ground";
    EXPECT_NEAR(groundHa, ground * 1e-6, 1e-6);
    endFieldWork();
    takeFarmNews();

    // The next day: the work goes on; its ground is worked ground, counted once.
    pipeline_test::resetWork(kStateFreeWork);
    prepareFieldWork(kStateFreeWork, id, true);
    appState.ui.screenState = kStateFreeWork;
    PlaneFixes again(kLon, kLat);
    settle();
    ASSERT_TRUE(workField.inPlane);
    EXPECT_NEAR(appState.work.groundArea, ground, 0.005 * ground);
    sawWorkedAhead_ = false;
    // One pass again over the first one, and one new pass beside the worked ones.
    drive(again, passes(kHalfWidth, 1));
    EXPECT_TRUE(sawWorkedAhead_) << "yesterday's ground is worked ground";
    EXPECT_LT(appState.work.groundArea, ground * 1.01);
    drive(again, passes(21 * kHalfWidth, 1));
    const double grown = appState.work.groundArea - ground;
    EXPECT_NEAR(grown, 2 * kHalfWidth * 3100.0, 0.02 * 2 * kHalfWidth * 3100.0);
    saveFieldWorkToBook();
    drainFarmBook();
    ASSERT_TRUE(pollFieldWorkSave(saved));
    ASSERT_TRUE(saved);
    const double areaAfter = savedGroundM2(farmBookSetting(), works, groundHa);
    EXPECT_EQ(works, 1) << "the continued work replaces the one it went on with";
    EXPECT_NEAR(areaAfter * 100.0, appState.work.groundArea, 0.005 * appState.work.groundArea);
}

std::string testFolder;
std::string journalFolderForTest() {
    return testFolder + "/";
}

TEST_F(FieldWork, AWorkResumedFromItsJournalIsStillItsFields) {
    testFolder = folder_.string();
    journalSetEnabled(true, journalFolderForTest);
    const std::int64_t id = addRectangleField(PlaneFixes(kLon, kLat));
    prepareFieldWork(kStateFreeWork, id, false);
    finishBackgroundWrites();
    ASSERT_TRUE(std::filesystem::exists(journalPath() + ".field"));
    endFieldWork();
    finishBackgroundWrites();
    EXPECT_FALSE(std::filesystem::exists(journalPath() + ".field")) << "a work ended leaves none";

    // The note as the program leaves it when it is killed during the work.
    prepareFieldWork(kStateFreeWork, id, false);
    finishBackgroundWrites();
    const std::string noted = workField.startTime;
    ASSERT_FALSE(noted.empty());
    {
        std::lock_guard lock(appState.frameLock);
        workField = {};
    }
    resumeFieldOfWork();
    EXPECT_EQ(workField.fieldId, id);
    EXPECT_EQ(workField.startTime, noted);
    // The field is drawn into the resumed work's plane once the book has been read.
    PlaneFixes plane(kLon, kLat);
    settle();
    EXPECT_TRUE(workField.inPlane);
    EXPECT_EQ(workField.entry.name, "North");
    journalSetEnabled(false, nullptr);
}

}  // namespace
