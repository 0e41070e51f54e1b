// The command-line conversions: a logged drive imported as a saved work, and works converted
// to KML documents.
#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>
#include <cstdio>
#include <fstream>

#include "app/Conversions.h"
#include "export/ShapefileReview.h"
#include "tests/export/WorkFileSupport.h"
#include "tests/support/NmeaFraming.h"

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
