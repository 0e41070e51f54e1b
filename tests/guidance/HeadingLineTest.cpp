// The typed heading turned into the plane's grid: checked against PROJ's own geodesic, a
// kilometre along the true heading, projected by PROJ into the same zone.
#include <geodesic.h>
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>

#include "guidance/HeadingLine.h"
#include "guidance/Projection.h"
#include "tests/guidance/GuidanceTestSupport.h"

namespace {

TEST(HeadingLine, GridDirectionFollowsTheGeodesicAtEveryConvergence) {
    guidance_test::resetWork();
    geod_geodesic wgs84;
    geod_init(&wgs84, 6378137.0, 1.0 / 298.257223563);
    std::mt19937 random(17);
    std::uniform_real_distribution<double> lonInZone(-2.9, 2.9), anyLat(-70.0, 70.0),
        anyHeading(0.0, 360.0);
    for (int work = 0; work < 20; ++work) {
        // Near the edges of zone 32 the grid turns by up to about 3 degrees from true north.
        const double lon0 = 9.0 + lonInZone(random), lat0 = anyLat(random);
        guidance_test::plane.originSet = 0;
        ASSERT_TRUE(projectFix(guidance_test::projection, guidance_test::plane, lon0, lat0));
        guidance_test::Utm utm(32, lat0 >= 0.0);
        ASSERT_TRUE(utm.valid());
        for (int i = 0; i < 10; ++i) {
            const double heading = anyHeading(random);
            double lat1 = 0.0, lon1 = 0.0, azi = 0.0;
            geod_direct(&wgs84, lat0, lon0, heading, 1.0, &lat1, &lon1, &azi);
            double e0 = 0, n0 = 0, e1 = 0, n1 = 0;
            utm.forward(lon0, lat0, e0, n0);
            utm.forward(lon1, lat1, e1, n1);
            const double expected = std::atan2(e1 - e0, n1 - n0);
            const std::optional<Vec2> d =
                gridDirection(guidance_test::projection, guidance_test::plane, lon0, lat0, heading);
            ASSERT_TRUE(d);
            EXPECT_NEAR(d->length(), 1.0, 1e-12);
            const double got = std::atan2(d->x, d->y);
            // 1e-5 rad: a centimetre off at a kilometre.
            EXPECT_NEAR(std::remainder(got - expected, 2 * M_PI), 0.0, 1e-5)
                << lon0 << " " << lat0 << " heading " << heading;
        }
    }
    EXPECT_FALSE(
        gridDirection(guidance_test::projection, guidance_test::plane, 9.0, 50.0, std::nan("")));
}

}  // namespace
