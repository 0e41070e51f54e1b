// The work plane: zones, hemispheres, the origin, the plane's precision and the way back.
#include <gtest/gtest.h>
#include <ogr_spatialref.h>

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

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
        {180.0, 60, "the antimeridian is the east edge of zone 60"},
        {-180.0 - 1e-9, 1, "rounding just west of -180 stays in zone 1"},
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
    void TearDown() override { closeInverseProjection(guidance_test::projection); }

    static int currentZone(int& north) {
        return guidance_test::projection.forwardTransform->GetTargetCS()->GetUTMZone(&north);
    }
};

TEST_F(Projection, SetUpGivesAPlaceholderZone) {
    ASSERT_EQ(setUpProjection(guidance_test::projection), 1);
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
        guidance_test::plane.originSet = 0;
        projectFix(guidance_test::projection, guidance_test::plane, 12.5, row.lat);
        int north = -1;
        EXPECT_EQ(currentZone(north), 33) << row.source;
        EXPECT_EQ(north, row.north) << row.source;
    }
}

TEST_F(Projection, FirstFixOfAWorkIsTheOrigin) {
    const double fixes[][2] = {{0.0, 0.0}, {11.57, 48.13}, {-58.38, -34.6}, {179.99, 64.2}};
    for (const auto& f : fixes) {
        guidance_test::plane.originSet = 0;
        PlanePoint p =
            projectFix(guidance_test::projection, guidance_test::plane, f[0], f[1]).value();
        EXPECT_EQ(p.x, 0.0) << f[0] << " " << f[1];
        EXPECT_EQ(p.y, 0.0) << f[0] << " " << f[1];
        EXPECT_EQ(guidance_test::plane.originSet, 1);
        EXPECT_EQ(guidance_test::plane.originLonLat[0], f[0]);
        EXPECT_EQ(guidance_test::plane.originLonLat[1], f[1]);
    }
}

TEST_F(Projection, OriginAtZeroZero) {
    // Greenwich on the equator: zone 31 north, 3 degrees west of its central meridian.
    setOrigin(guidance_test::projection, guidance_test::plane, 0.0, 0.0);
    int north = -1;
    EXPECT_EQ(currentZone(north), 31);
    EXPECT_EQ(north, 1);
    Utm utm(31, true);
    double e = 0.0;
    double n = 0.0;
    utm.forward(0.0, 0.0, e, n);
    EXPECT_NEAR(guidance_test::plane.originX, e * 10.0, 1e-6);  // 1664810.x dm
    EXPECT_EQ(guidance_test::plane.originY, 0.0);
}

TEST_F(Projection, ThePlaneKeepsEveryMillimetreOnBothSidesOfTheOrigin) {
    // No grid and no bias: a point lies where PROJ puts it, whichever side of the origin.
    Utm utm(33, true);
    const double originEast = 512345.603;
    const double originNorth = 5321987.003;
    double lon = 0.0;
    double lat = 0.0;
    utm.inverse(originEast, originNorth, lon, lat);
    setOrigin(guidance_test::projection, guidance_test::plane, lon, lat);
    ASSERT_NEAR(guidance_test::plane.originX, 5123456.03, 0.001);
    ASSERT_NEAR(guidance_test::plane.originY, 53219870.03, 0.001);

    const double rows[][2] = {{0.05, 0.0},  {0.10, 0.0},   {-0.15, 0.0},  {-0.02, -0.02},
                              {0.0, 0.35},  {0.013, 0.0},  {-0.013, 0.0}, {-123.45, 678.9},
                              {0.0, -0.01}, {0.001, 0.001}};
    for (const auto& row : rows) {
        utm.inverse(originEast + row[0], originNorth + row[1], lon, lat);
        PlanePoint p =
            projectFix(guidance_test::projection, guidance_test::plane, lon, lat).value();
        EXPECT_NEAR(p.x, row[0] * 10.0, 0.001) << row[0] << " " << row[1];
        EXPECT_NEAR(p.y, row[1] * 10.0, 0.001) << row[0] << " " << row[1];
    }
}

TEST_F(Projection, AWorkAtTheAntimeridianIsNotMirrored) {
    // 180 degrees is zone 60: a point west of it lies west, a point north lies north.
    ASSERT_TRUE(setOrigin(guidance_test::projection, guidance_test::plane, 180.0, -16.5));  // Fiji
    int north = -1;
    EXPECT_EQ(currentZone(north), 60);
    PlanePoint west =
        projectFix(guidance_test::projection, guidance_test::plane, 179.99, -16.5).value();
    PlanePoint up =
        projectFix(guidance_test::projection, guidance_test::plane, 180.0, -16.49).value();
    // Grid north turns by less than a degree there: within 2 % of the step across.
    EXPECT_NEAR(west.x, -10670.0, 50.0);  // about 1.07 km west
    EXPECT_NEAR(west.y, 0.0, 0.02 * 10670.0);
    EXPECT_NEAR(up.y, 11060.0, 50.0);  // about 1.1 km north
    EXPECT_NEAR(up.x, 0.0, 0.02 * 11060.0);
}

TEST_F(Projection, EachWorkUsesTheZoneOfItsFirstFix) {
    int north = -1;
    projectFix(guidance_test::projection, guidance_test::plane, 5.9, 50.0);
    EXPECT_EQ(currentZone(north), 31);
    // The work crosses into zone 32 and keeps zone 31: 0.2 degrees east is about 14.3 km.
    PlanePoint across =
        projectFix(guidance_test::projection, guidance_test::plane, 6.1, 50.0).value();
    EXPECT_EQ(currentZone(north), 31);
    EXPECT_NEAR(across.x, 143000, 2000);

    guidance_test::plane.originSet = 0;  // a new work
    PlanePoint first =
        projectFix(guidance_test::projection, guidance_test::plane, 6.1, 50.0).value();
    EXPECT_EQ(currentZone(north), 32);
    EXPECT_EQ(first.x, 0.0);
    EXPECT_EQ(first.y, 0.0);
    Utm utm32(32, true);
    double e = 0.0;
    double n = 0.0;
    utm32.forward(6.1, 50.0, e, n);
    EXPECT_NEAR(guidance_test::plane.originX, e * 10.0, 1e-6);
    EXPECT_NEAR(guidance_test::plane.originY, n * 10.0, 1e-6);
}

TEST_F(Projection, UnprojectTheOrigin) {
    const double fixes[][2] = {{11.57, 48.13}, {-58.38, -34.6}, {0.0, 0.0}, {-122.3, 47.6}};
    for (const auto& f : fixes) {
        guidance_test::plane.originSet = 0;
        projectFix(guidance_test::projection, guidance_test::plane, f[0], f[1]);
        openInverseProjection(guidance_test::projection);
        ASSERT_NE(guidance_test::projection.inverseTransform, nullptr);
        double lon = 0.0;
        double lat = 0.0;
        EXPECT_TRUE(
            unprojectPoint(guidance_test::projection, guidance_test::plane, {0, 0}, lon, lat));
        closeInverseProjection(guidance_test::projection);
        EXPECT_EQ(guidance_test::projection.inverseTransform, nullptr);
        // Back onto the fix itself, to the millimetre.
        double metresEast = (lon - f[0]) * 111320.0 * std::cos(f[1] * M_PI / 180.0);
        double metresNorth = (lat - f[1]) * 110574.0;
        EXPECT_LE(std::fabs(metresEast), 0.001) << f[0] << " " << f[1];
        EXPECT_LE(std::fabs(metresNorth), 0.001) << f[0] << " " << f[1];
    }
}

TEST_F(Projection, AFailedTransformGivesNoPoint) {
    projectFix(guidance_test::projection, guidance_test::plane, 15.0, 52.0);
    // No latitude beyond the pole can be projected: no point, rather than degrees as metres.
    CPLPushErrorHandler(CPLQuietErrorHandler);
    EXPECT_FALSE(projectFix(guidance_test::projection, guidance_test::plane, 15.0, 95.0));
    openInverseProjection(guidance_test::projection);
    double lon = 1.0, lat = 2.0;
    EXPECT_FALSE(
        unprojectPoint(guidance_test::projection, guidance_test::plane, {1e12, 1e12}, lon, lat));
    closeInverseProjection(guidance_test::projection);
    CPLPopErrorHandler();
    EXPECT_EQ(lon, 1.0);
    EXPECT_EQ(lat, 2.0);
}

TEST(GeodesyData, DataFolderIsUsedOnlyWhenItExists) {
    std::string dir = std::string(SULCO_BINARY_DIR) + "/guidance-geodesy/";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    CPLSetConfigOption("GDAL_DATA", nullptr);
    CPLSetConfigOption("GEOTIFF_CSV", nullptr);
    EXPECT_EQ(configureGeodesyData(guidance_test::projection, dir), 1);
    EXPECT_EQ(CPLGetConfigOption("GDAL_DATA", nullptr), nullptr);
    EXPECT_NE(guidance_test::projection.forwardTransform, nullptr);

    std::filesystem::create_directories(dir + "data");
    EXPECT_EQ(configureGeodesyData(guidance_test::projection, dir), 1);
    EXPECT_STREQ(CPLGetConfigOption("GDAL_DATA", nullptr), (dir + "data").c_str());
    EXPECT_STREQ(CPLGetConfigOption("GEOTIFF_CSV", nullptr), (dir + "data").c_str());
    EXPECT_NE(guidance_test::projection.forwardTransform, nullptr);

    CPLSetConfigOption("GDAL_DATA", nullptr);
    CPLSetConfigOption("GEOTIFF_CSV", nullptr);
    std::filesystem::remove_all(dir);
}

}  // namespace
