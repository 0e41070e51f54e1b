// The work plane: zones, hemispheres, the origin, the decimetre grid and the way back.
#include <gtest/gtest.h>
#include <ogr_spatialref.h>

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/AppState.h"
#include "guidance/Projection.h"
#include "tests/guidance/GuidanceTestSupport.h"

namespace {

using guidance_test::Utm;

struct ZoneRow {
    double longitude;
    int zone;
    const char* source;
};

TEST(UtmZone, ZoneOfLongitude) {
    const ZoneRow rows[] = {
        {0.0, 31, "Greenwich starts zone 31"},
        {-0.000001, 30, "just west of Greenwich"},
        {3.0, 31, "central meridian of zone 31"},
        {6.0, 32, "a zone border belongs to the zone east of it"},
        {-180.0, 1, "the date line starts zone 1"},
        {179.999, 60, "last zone"},
        {180.0, 61, "no clamping"},
        {-77.44, 18, "Virginia"},
        {15.0, 33, "central meridian of zone 33"},
    };
    for (const ZoneRow& row : rows) {
        UtmZone z = utmZoneForLongitude(row.longitude);
        EXPECT_EQ(z.zone, row.zone) << row.source;
        EXPECT_EQ(z.centralMeridian, row.zone * 6.0 - 183.0) << row.source;
    }
}

class Projection : public ::testing::Test {
  protected:
    void SetUp() override { guidance_test::resetWork(); }
    void TearDown() override { closeInverseProjection(); }

    static int currentZone(int& north) {
        return appState.forwardTransform->GetTargetCS()->GetUTMZone(&north);
    }
};

TEST_F(Projection, SetUpGivesAPlaceholderZone) {
    ASSERT_EQ(setUpProjection(), 1);
    int north = 0;
    EXPECT_EQ(currentZone(north), 33);
    EXPECT_EQ(north, 1);
}

TEST_F(Projection, HemisphereOfTheFirstFix) {
    struct Row {
        double lat;
        int north;
        const char* source;
    } rows[] = {
        {0.0, 1, "the equator counts as north"},
        {-0.0000001, 0, "just south of the equator"},
        {48.1, 1, "Bavaria"},
        {-33.9, 0, "Cape Town"},
    };
    for (const Row& row : rows) {
        appState.originSet = 0;
        projectFix(12.5, row.lat);
        int north = -1;
        EXPECT_EQ(currentZone(north), 33) << row.source;
        EXPECT_EQ(north, row.north) << row.source;
    }
}

TEST_F(Projection, FirstFixOfAWorkIsTheOrigin) {
    const double fixes[][2] = {{0.0, 0.0}, {11.57, 48.13}, {-58.38, -34.6}, {179.99, 64.2}};
    for (const auto& f : fixes) {
        appState.originSet = 0;
        IntPoint p = projectFix(f[0], f[1]);
        EXPECT_EQ(p.x, 0) << f[0] << " " << f[1];
        EXPECT_EQ(p.y, 0) << f[0] << " " << f[1];
        EXPECT_EQ(appState.originSet, 1);
        EXPECT_EQ(appState.originLonLat[0], f[0]);
        EXPECT_EQ(appState.originLonLat[1], f[1]);
    }
}

TEST_F(Projection, OriginAtZeroZero) {
    // Greenwich on the equator: zone 31 north, 3 degrees west of its central meridian.
    setOrigin(0.0, 0.0);
    int north = -1;
    EXPECT_EQ(currentZone(north), 31);
    EXPECT_EQ(north, 1);
    Utm utm(31, true);
    double e = 0.0;
    double n = 0.0;
    utm.forward(0.0, 0.0, e, n);
    EXPECT_EQ(appState.originX, static_cast<int>(e * 10.0));  // 1664810.x dm
    EXPECT_EQ(appState.originY, 0);
}

TEST_F(Projection, DecimetreGridTruncatesTowardZero) {
    // An origin 3 mm into a decimetre cell keeps every row clear of a cell border, so the rows
    // test truncation, not the last bit of the projection.
    Utm utm(33, true);
    const double originEast = 512345.603;
    const double originNorth = 5321987.003;
    double lon = 0.0;
    double lat = 0.0;
    utm.inverse(originEast, originNorth, lon, lat);
    setOrigin(lon, lat);
    ASSERT_EQ(appState.originX, 5123456);
    ASSERT_EQ(appState.originY, 53219870);

    struct Row {
        double eastMetres;
        double northMetres;
        IntPoint expected;
        const char* source;
    } rows[] = {
        {0.05, 0.0, {0, 0}, "0.05 m east stays in the origin's decimetre"},
        {0.10, 0.0, {1, 0}, "0.1 m east is the next decimetre"},
        {-0.15, 0.0, {-1, 0}, "0.15 m west is -1.2 dm, truncated to -1"},
        {-0.02, -0.02, {0, 0}, "just west and south: -0.5 dm truncates to 0, not -1"},
        {0.0, 0.35, {0, 3}, "0.35 m north"},
        {-123.45, 678.9, {-1234, 6789}, "a point in the field"},
    };
    for (const Row& row : rows) {
        utm.inverse(originEast + row.eastMetres, originNorth + row.northMetres, lon, lat);
        IntPoint p = projectFix(lon, lat);
        EXPECT_EQ(p.x, row.expected.x) << row.source;
        EXPECT_EQ(p.y, row.expected.y) << row.source;
    }
}

TEST_F(Projection, EachWorkUsesTheZoneOfItsFirstFix) {
    int north = -1;
    projectFix(5.9, 50.0);
    EXPECT_EQ(currentZone(north), 31);
    // The work crosses into zone 32 and keeps zone 31: 0.2 degrees east is about 14.3 km.
    IntPoint across = projectFix(6.1, 50.0);
    EXPECT_EQ(currentZone(north), 31);
    EXPECT_NEAR(across.x, 143000, 2000);

    appState.originSet = 0;  // a new work
    IntPoint first = projectFix(6.1, 50.0);
    EXPECT_EQ(currentZone(north), 32);
    EXPECT_EQ(first.x, 0);
    EXPECT_EQ(first.y, 0);
    Utm utm32(32, true);
    double e = 0.0;
    double n = 0.0;
    utm32.forward(6.1, 50.0, e, n);
    EXPECT_EQ(appState.originX, static_cast<int>(e * 10.0));
    EXPECT_EQ(appState.originY, static_cast<int>(n * 10.0));
}

TEST_F(Projection, UnprojectTheOrigin) {
    const double fixes[][2] = {{11.57, 48.13}, {-58.38, -34.6}, {0.0, 0.0}, {-122.3, 47.6}};
    for (const auto& f : fixes) {
        appState.originSet = 0;
        projectFix(f[0], f[1]);
        openInverseProjection();
        ASSERT_NE(appState.inverseTransform, nullptr);
        double lon = 0.0;
        double lat = 0.0;
        unprojectPoint({0, 0}, lon, lat);
        closeInverseProjection();
        EXPECT_EQ(appState.inverseTransform, nullptr);
        // Within one decimetre cell: 1 dm is about 9e-7 degrees of latitude.
        double metresEast = (lon - f[0]) * 111320.0 * std::cos(f[1] * M_PI / 180.0);
        double metresNorth = (lat - f[1]) * 110574.0;
        EXPECT_LE(std::fabs(metresEast), 0.1) << f[0] << " " << f[1];
        EXPECT_LE(std::fabs(metresNorth), 0.1) << f[0] << " " << f[1];
        // Truncation toward zero moves the origin toward the zone's false origin, never away.
        EXPECT_LE(metresEast, 1e-6);
    }
}

TEST_F(Projection, FailedTransformLeavesTheFixAsItWas) {
    projectFix(15.0, 52.0);
    // No latitude beyond the pole can be projected; the point must stay finite and in range.
    CPLPushErrorHandler(CPLQuietErrorHandler);
    IntPoint p = projectFix(15.0, 95.0);
    CPLPopErrorHandler();
    EXPECT_EQ(p.x, static_cast<int>(15.0 * 10.0 - appState.originX));
    EXPECT_EQ(p.y, static_cast<int>(95.0 * 10.0 - appState.originY));
}

TEST(GeodesyData, DataFolderIsUsedOnlyWhenItExists) {
    std::string dir = std::string(SULCO_BINARY_DIR) + "/guidance-geodesy/";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::snprintf(appState.moduleDir, sizeof appState.moduleDir, "%s", dir.c_str());
    CPLSetConfigOption("GDAL_DATA", nullptr);
    CPLSetConfigOption("GEOTIFF_CSV", nullptr);
    EXPECT_EQ(configureGeodesyData(), 1);
    EXPECT_EQ(CPLGetConfigOption("GDAL_DATA", nullptr), nullptr);
    EXPECT_NE(appState.forwardTransform, nullptr);

    std::filesystem::create_directories(dir + "data");
    EXPECT_EQ(configureGeodesyData(), 1);
    EXPECT_STREQ(CPLGetConfigOption("GDAL_DATA", nullptr), (dir + "data").c_str());
    EXPECT_STREQ(CPLGetConfigOption("GEOTIFF_CSV", nullptr), (dir + "data").c_str());
    EXPECT_NE(appState.forwardTransform, nullptr);

    CPLSetConfigOption("GDAL_DATA", nullptr);
    CPLSetConfigOption("GEOTIFF_CSV", nullptr);
    appState.moduleDir[0] = '\0';
    std::filesystem::remove_all(dir);
}

}  // namespace
