// The command-line conversions: a logged drive imported as a saved work, and works converted
// to KML documents.
#include <gdal.h>
#include <gtest/gtest.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <algorithm>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <utility>
#include <vector>

#include "app/Conversions.h"
#include "export/ShapefileReview.h"
#include "tests/export/WorkFileSupport.h"
#include "tests/support/NmeaFraming.h"
#include "tests/support/SavedWorkAreas.h"

using namespace work_test;

namespace {

// NMEA degrees and minutes: ddmm.mmmmm / dddmm.mmmmm.
std::string minutes(double degrees, int width) {
    int whole = int(degrees);
    char text[32];
    std::snprintf(text, sizeof text, "%0*d%08.5f", width, whole, (degrees - whole) * 60.0);
    return text;
}

// A drive due north at 4 knots, one fix per second about 2 m apart, as a receiver logs it:
// the recommended minimum sentence, then the fix sentence, of every second.
void writeDriveLog(const std::string& path, int fixes) {
    std::ofstream log(path, std::ios::binary);
    log << "# a drive north near Vienna\r\n";
    for (int i = 0; i < fixes; ++i) {
        double lat = kOriginLat + i * 0.000018;
        char time[16];
        std::snprintf(time, sizeof time, "12%02d%02d.00", i / 60, i % 60);
        std::string lat_ = minutes(lat, 2), lon_ = minutes(kOriginLon, 3);
        log << nmeatest::sentence("GPRMC," + std::string(time) + ",A," + lat_ + ",N," + lon_ +
                                  ",E,4.0,0.0,090624,,,A");
        log << nmeatest::sentence("GPGGA," + std::string(time) + "," + lat_ + ",N," + lon_ +
                                  ",E,1,09,0.9,180.0,M,45.0,M,,");
    }
}

class CommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        headless();
        appState.settings.implementHalfWidth = 600;
        appState.settings.implementWidth = 1200;
        appState.settings.speedThreshold = 1.0;
        appState.settings.hdopThreshold = 2.5;
        appState.settings.distanceThresholdSquared = 25;
        writeDriveLog(folder / "drive.nmea", 60);
    }
    // The distance between the edges of the first rebuilt record, in decimetres.
    double savedWidth(const std::string& work) {
        std::string path = work;
        EXPECT_EQ(readShapefileForReview(path, appState.projection, appState.work, appState.review),
                  1);
        if (appState.review.positions.empty()) return 0.0;
        const TrackEdge& r = appState.review.edges[0];
        return std::hypot(r.rightX - r.leftX, r.rightY - r.leftY);
    }
    ScratchFolder folder;
};

TEST_F(CommandsTest, LoggedDriveBecomesASavedWork) {
    appState.ui.screenState = kStateStart;
    testing::internal::CaptureStdout();
    ASSERT_EQ(runNmeaImport(folder / "drive.nmea", folder / "drive.shp", 4.1), 0);
    const std::string summary = testing::internal::GetCapturedStdout();
    // The figures the panel shows, to the square metre and the decimetre.
    char expected[512];
    std::snprintf(expected, sizeof expected,
                  "%s: %u strip records, %.4f ha, %.4f km, overlap %.4f ha\n",
                  (folder / "drive.shp").c_str(), unsigned(appState.work.strips.size()),
                  appState.work.groundArea * 1e-6, appState.work.distance * 1e-4,
                  std::max(appState.work.workedArea - appState.work.groundArea, 0.0) * 1e-6);
    EXPECT_EQ(summary, expected);
    EXPECT_EQ(appState.settings.implementHalfWidth, 600) << "the stored width is kept";
    EXPECT_EQ(appState.ui.screenState, kStateStart) << "no screen is touched";
    // The first fix is the origin and the second only seeds the position; 4.1 m is 41 dm.
    EXPECT_NEAR(savedWidth(folder / "drive.shp"), 41.0, 0.01);
    EXPECT_EQ(appState.review.positions.size(), 58u);
    EXPECT_EQ(appState.work.plane.originLonLat[0], kOriginLon);

    ASSERT_EQ(runNmeaImport(folder / "drive.nmea", folder / "stored.shp", std::nullopt), 0);
    EXPECT_NEAR(savedWidth(folder / "stored.shp"), 120.0, 0.01);
}

TEST_F(CommandsTest, ImportRefusals) {
    // 1 cm is stored as 0 cm: a work without an area.
    for (double width : {0.0, -3.0, 1000.0, double(NAN), 0.01, 0.0199})
        EXPECT_EQ(runNmeaImport(folder / "drive.nmea", folder / "w.shp", width), 1) << width;
    EXPECT_EQ(runNmeaImport(folder / "absent.nmea", folder / "w.shp", std::nullopt), 1);
    // A log without a position fix records nothing; nothing is saved.
    std::string still = std::string(SULCO_SHARED_DIR) + "/nmea-logs/ais-nmea.log";
    EXPECT_EQ(runNmeaImport(still, folder / "w.shp", std::nullopt), 1);
    EXPECT_FALSE(std::filesystem::exists(folder / "w.shp"));
    EXPECT_EQ(appState.settings.implementHalfWidth, 600);
}

// A pass north and one back south 9 m to the east, 200 m each and turned on a half circle
// beyond the north end, at 2 m/s, one fix a second.
void writeTwoPassLog(const std::string& path) {
    std::ofstream log(path, std::ios::binary);
    const double metreLat = 1.0 / 111200.0;
    const double metreLon = 1.0 / (111320.0 * std::cos(kOriginLat * M_PI / 180));
    std::vector<std::pair<double, double>> path_;  // east, north in metres
    for (int j = 0; j <= 105; ++j) path_.push_back({0.0, 2.0 * j});
    for (int k = 1; k < 7; ++k) {
        const double t = M_PI * k / 7;
        path_.push_back({4.5 - 4.5 * std::cos(t), 210.0 + 4.5 * std::sin(t)});
    }
    for (int j = 105; j >= 0; --j) path_.push_back({9.0, 2.0 * j});
    for (std::size_t i = 0; i < path_.size(); ++i) {
        const double lat = kOriginLat + path_[i].second * metreLat;
        const double lon = kOriginLon + path_[i].first * metreLon;
        char time[16];
        std::snprintf(time, sizeof time, "12%02d%02d.00", int(i / 60 % 60), int(i % 60));
        const std::string lat_ = minutes(lat, 2), lon_ = minutes(lon, 3);
        log << nmeatest::sentence("GPRMC," + std::string(time) + ",A," + lat_ + ",N," + lon_ +
                                  ",E,4.0,0.0,090624,,,A");
        log << nmeatest::sentence("GPGGA," + std::string(time) + "," + lat_ + ",N," + lon_ +
                                  ",E,1,09,0.9,180.0,M,45.0,M,,");
    }
}

TEST_F(CommandsTest, SectionsKeepTheSecondPassOffTheFirstsGround) {
    writeTwoPassLog(folder / "passes.nmea");
    double sum = 0, ground = 0;
    // One strip: 3 m of the second pass's 12 lie on the first's (a strip saved whole is one
    // ring, so its overlap is the work's own figure), and more in the turn.
    ASSERT_EQ(runNmeaImport(folder / "passes.nmea", folder / "whole.shp", 12.0), 0);
    const double once = appState.work.workedArea - appState.work.groundArea;
    EXPECT_GT(once, 3.0 * 200 * 100);

    // Eight sections of 1.5 m: the two over the first pass stay off, and the saved work is
    // the ground the summary counts.
    testing::internal::CaptureStdout();
    ASSERT_EQ(runNmeaImport(folder / "passes.nmea", folder / "sections.shp", 12.0, {}, 8), 0);
    const std::string summary = testing::internal::GetCapturedStdout();
    double ha = 0, km = 0, overlap = 1;
    unsigned records = 0;
    ASSERT_EQ(std::sscanf(summary.c_str() + (folder / "sections.shp").size(),
                          ": %u strip records, %lf ha, %lf km, overlap %lf ha", &records, &ha, &km,
                          &overlap),
              4)
        << summary;
    savedAreas(folder / "sections.shp", 32633, kOriginLat + 10 / 111200.0,
               kOriginLat + 200 / 111200.0, sum, ground);
    EXPECT_NEAR(ground, 21.0 * 190, 5.0);
    EXPECT_LT(sum - ground, 0.5) << "square metres worked twice along the passes";
    EXPECT_NEAR(ha * 1e4, appState.work.groundArea * 1e-2, 1.0);
    // Sections that do not fit the implement are refused, and the next import is one strip.
    EXPECT_EQ(runNmeaImport(folder / "passes.nmea", folder / "w.shp", 0.3, {}, 64), 1);
    ASSERT_EQ(runNmeaImport(folder / "passes.nmea", folder / "again.shp", 12.0), 0);
    EXPECT_EQ(appState.work.workedArea - appState.work.groundArea, once);
}

TEST_F(CommandsTest, KmlConversionOfSeveralWorks) {
    writeShapefile(folder / "a", SHPT_POLYGON, {northwardRing(3)});
    writeShapefile(folder / "b", SHPT_POLYGON, {northwardRing(2)});
    writeShapefile(folder / "p", SHPT_POINT, {Ring{{16.5}, {48.25}}});
    EXPECT_EQ(runKmlConversion({folder / "a.shp", folder / "b.shp"}), 0);
    EXPECT_TRUE(std::filesystem::exists(folder / "a.kml"));
    EXPECT_TRUE(std::filesystem::exists(folder / "b.kml"));
    EXPECT_EQ(runKmlConversion({folder / "a.shp", folder / "p.shp"}), 1);
    EXPECT_EQ(runKmlConversion({}), 0);
}

}  // namespace
