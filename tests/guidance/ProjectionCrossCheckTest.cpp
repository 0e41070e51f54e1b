// The projection against PROJ's own UTM zones (EPSG 326zz / 327zz), forward and back, for
// thousands of random points in both hemispheres and all zones.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <random>

#include "guidance/Projection.h"
#include "tests/guidance/GuidanceTestSupport.h"

namespace {

using guidance_test::Utm;

TEST(ProjectionCrossCheck, AgreesWithProjToTheMillimetre) {
    guidance_test::resetWork();
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> anyLon(-180.0, 180.0);
    std::uniform_real_distribution<double> anyLat(-79.0, 83.0);
    std::uniform_real_distribution<double> nearby(-0.05, 0.05);  // a field or two, ~5 km

    int points = 0;
    for (int work = 0; work < 75; ++work) {
        // The antimeridian itself once: it belongs to zone 60.
        double lon0 = work == 0 ? 180.0 : anyLon(random);
        double lat0 = anyLat(random);
        guidance_test::plane.originSet = 0;
        std::optional<PlanePoint> origin =
            projectFix(guidance_test::projection, guidance_test::plane, lon0, lat0);
        ASSERT_TRUE(origin);
        ASSERT_EQ(origin->x, 0.0);
        ASSERT_EQ(origin->y, 0.0);

        int zone = std::min(60, 1 + static_cast<int>(std::floor((lon0 + 180.0) / 6.0)));
        Utm utm(zone, lat0 >= 0.0);
        ASSERT_TRUE(utm.valid());
        double e0 = 0.0;
        double n0 = 0.0;
        utm.forward(lon0, lat0, e0, n0);
        ASSERT_NEAR(guidance_test::plane.originX, e0 * 10.0, 0.01) << lon0 << " " << lat0;
        ASSERT_NEAR(guidance_test::plane.originY, n0 * 10.0, 0.01) << lon0 << " " << lat0;

        openInverseProjection(guidance_test::projection);
        for (int i = 0; i < 40; ++i, ++points) {
            double lon = std::clamp(lon0 + nearby(random), -180.0, 180.0);
            double lat = lat0 + nearby(random);
            std::optional<PlanePoint> p =
                projectFix(guidance_test::projection, guidance_test::plane, lon, lat);
            ASSERT_TRUE(p);
            double e = 0.0;
            double n = 0.0;
            utm.forward(lon, lat, e, n);
            // A millimetre is a hundredth of a plane decimetre.
            ASSERT_NEAR(p->x, e * 10.0 - guidance_test::plane.originX, 0.01) << lon << " " << lat;
            ASSERT_NEAR(p->y, n * 10.0 - guidance_test::plane.originY, 0.01) << lon << " " << lat;

            // Back through both inverse paths, and onto the fix itself.
            double lonBack = 0.0;
            double latBack = 0.0;
            ASSERT_TRUE(unprojectPoint(guidance_test::projection, guidance_test::plane, *p, lonBack,
                                       latBack));
            double lonProj = 0.0;
            double latProj = 0.0;
            utm.inverse((p->x + guidance_test::plane.originX) * 0.1,
                        (p->y + guidance_test::plane.originY) * 0.1, lonProj, latProj);
            const double mmLon = 0.001 / (111320.0 * std::cos(lat * M_PI / 180.0));
            const double mmLat = 0.001 / 110574.0;
            ASSERT_NEAR(lonBack, lonProj, mmLon) << lon << " " << lat;
            ASSERT_NEAR(latBack, latProj, mmLat) << lon << " " << lat;
            ASSERT_NEAR(lonBack, lon, mmLon) << lon << " " << lat;
            ASSERT_NEAR(latBack, lat, mmLat) << lon << " " << lat;
        }
        closeInverseProjection(guidance_test::projection);
    }
    EXPECT_EQ(points, 3000);
}

}  // namespace
