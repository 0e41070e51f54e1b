// The projection against PROJ's own UTM zones (EPSG 326zz / 327zz), forward and back, for
// thousands of random points in both hemispheres and all zones.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>

#include "app/AppState.h"
#include "guidance/Projection.h"
#include "tests/guidance/GuidanceTestSupport.h"

namespace {

using guidance_test::Utm;

TEST(ProjectionCrossCheck, AgreesWithProjOnTheDecimetreGrid) {
    guidance_test::resetWork();
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> anyLon(-180.0, 179.999);
    std::uniform_real_distribution<double> anyLat(-79.0, 83.0);
    std::uniform_real_distribution<double> nearby(-0.05, 0.05);  // a field or two, ~5 km

    int points = 0;
    int offByOne = 0;
    for (int work = 0; work < 75; ++work) {
        double lon0 = anyLon(random);
        double lat0 = anyLat(random);
        appState.originSet = 0;
        ASSERT_EQ(projectFix(lon0, lat0).x, 0);

        int zone = 1 + static_cast<int>(std::floor((lon0 + 180.0) / 6.0));
        Utm utm(zone, lat0 >= 0.0);
        ASSERT_TRUE(utm.valid());
        double e0 = 0.0;
        double n0 = 0.0;
        utm.forward(lon0, lat0, e0, n0);
        // Both paths may put an origin on either side of a cell border only if they disagree
        // by less than the distance to it; a millimetre is far more than they ever differ.
        ASSERT_NEAR(appState.originX, e0 * 10.0, 1.0);
        ASSERT_NEAR(appState.originY, n0 * 10.0, 1.0);

        openInverseProjection();
        for (int i = 0; i < 40; ++i, ++points) {
            double lon = lon0 + nearby(random);
            double lat = lat0 + nearby(random);
            IntPoint p = projectFix(lon, lat);
            double e = 0.0;
            double n = 0.0;
            utm.forward(lon, lat, e, n);
            double ex = e * 10.0 - appState.originX;
            double ny = n * 10.0 - appState.originY;
            // Truncation is exactly PROJ's value cut toward zero, except where PROJ's value lies
            // within a micrometre of a cell border.
            auto expectedCell = [](double v) { return static_cast<int>(v); };
            int dx = std::abs(p.x - expectedCell(ex));
            int dy = std::abs(p.y - expectedCell(ny));
            ASSERT_LE(dx, 1) << lon << " " << lat;
            ASSERT_LE(dy, 1) << lon << " " << lat;
            if (dx != 0) {
                ++offByOne;
                EXPECT_LT(std::fabs(ex - std::round(ex)), 1e-5) << lon << " " << lat;
            }
            if (dy != 0) {
                ++offByOne;
                EXPECT_LT(std::fabs(ny - std::round(ny)), 1e-5) << lon << " " << lat;
            }

            // Back: the plane point's own corner, through both inverse paths.
            double lonBack = 0.0;
            double latBack = 0.0;
            unprojectPoint(p, lonBack, latBack);
            double lonProj = 0.0;
            double latProj = 0.0;
            utm.inverse((p.x + double(appState.originX)) * 0.1,
                        (p.y + double(appState.originY)) * 0.1, lonProj, latProj);
            ASSERT_NEAR(lonBack, lonProj, 1e-8) << lon << " " << lat;  // about a millimetre
            ASSERT_NEAR(latBack, latProj, 1e-8) << lon << " " << lat;
            // And the corner lies within the decimetre cell of the fix.
            ASSERT_NEAR(lonBack, lon, 0.15 / (111320.0 * std::cos(lat * M_PI / 180.0)));
            ASSERT_NEAR(latBack, lat, 0.15 / 110574.0);
        }
        closeInverseProjection();
    }
    EXPECT_EQ(points, 3000);
    EXPECT_LE(offByOne, 3);
}

}  // namespace
