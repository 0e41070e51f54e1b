// The coverage map's answers against GEOS: the ground of many overlapping quads counted once,
// folded quads among them, and the number of quads over a point.
#include "coverage/CoverageMap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "tests/coverage/GeosUnion.h"

namespace {

using coverage_test::Geos;

// A quad of a strip width wide and a step long, turned by angle around (x, y); fold swaps the
// newer edge, as the inner edge of a turn tighter than the implement does.
StripQuad quadAt(double x, double y, double angle, double width, double step, bool fold) {
    const double c = std::cos(angle), s = std::sin(angle);
    auto at = [&](double across, double along) {
        return GroundPoint{x + across * c - along * s, y + across * s + along * c};
    };
    StripQuad q{at(-width / 2, 0), at(width / 2, 0), at(-width / 2, step), at(width / 2, step)};
    if (fold) std::swap(q.newerLeft, q.newerRight);
    return q;
}

TEST(CoverageMap, GroundOfOverlappingQuadsIsTheirUnion) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> place(-400.0, 400.0), turn(0.0, 2 * M_PI),
        width(10.0, 240.0), step(1.0, 60.0);
    for (int round = 0; round < 6; ++round) {
        CoverageMap map;
        Geos geos;
        double ground = 0.0;
        // Far from the plane's origin, as a work many kilometres from where it began.
        const double far = round * 50000.0;
        for (int k = 0; k < 300; ++k) {
            const StripQuad q = quadAt(far + place(random), place(random), turn(random),
                                       width(random), step(random), k % 17 == 0);
            ground += map.add(q);
            geos.addQuad(q);
        }
        const double expected = geos.unionArea();
        EXPECT_NEAR(ground, expected, expected * 1e-6) << "round " << round;
    }
}

TEST(CoverageMap, StripsDrivenSideBySideShareOnlyTheirOverlap) {
    // Two passes of 120 dm width, 100 dm apart, along y, in 5 dm steps: 20 dm overlap.
    CoverageMap map;
    Geos geos;
    double ground = 0.0, sum = 0.0;
    for (int pass = 0; pass < 2; ++pass) {
        for (int k = 0; k < 200; ++k) {
            const StripQuad q = quadAt(pass * 100.0, k * 5.0, 0.0, 120.0, 5.0, false);
            ground += map.add(q);
            sum += 120.0 * 5.0;
            geos.addQuad(q);
        }
    }
    EXPECT_NEAR(ground, geos.unionArea(), 1e-3);
    EXPECT_NEAR(sum - ground, 20.0 * 1000.0, 1e-3);
    EXPECT_EQ(map.timesWorked({50.0, 502.5}), 2);   // in the overlap
    EXPECT_EQ(map.timesWorked({-30.0, 502.5}), 1);  // the first pass alone
    EXPECT_EQ(map.timesWorked({200.0, 502.5}), 0);  // beside both
    EXPECT_EQ(map.timesWorked({50.0, 1200.0}), 0);  // beyond their ends
}

TEST(CoverageMap, PathAheadSeesTheWorkedShareOfItsWidth) {
    // A worked block from x = 0 to 600 dm, y = 0 to 1000 dm.
    CoverageMap map;
    for (int k = 0; k < 100; ++k) map.add(quadAt(300.0, k * 10.0, 0.0, 600.0, 10.0, false));
    const std::uint32_t all = map.size();
    // An implement 120 dm wide heading north towards the block's southern edge from 30 dm
    // short of it: half of it lies over the block.
    const GroundPoint left{540.0, -30.0}, right{660.0, -30.0};
    EXPECT_NEAR(map.workedShareAhead(left, right, {0.0, 50.0}, 32, all), 0.5, 1.0 / 32);
    // Looking only 20 dm ahead it does not reach the block.
    EXPECT_EQ(map.workedShareAhead(left, right, {0.0, 20.0}, 32, all), 0.0);
    // Heading away, nothing is ahead; and quads left out are not seen.
    EXPECT_EQ(map.workedShareAhead(left, right, {0.0, -50.0}, 32, all), 0.0);
    EXPECT_EQ(map.workedShareAhead(left, right, {0.0, 50.0}, 32, 0), 0.0);
    // Wholly over it.
    EXPECT_EQ(map.workedShareAhead({100.0, 500.0}, {220.0, 500.0}, {0.0, 50.0}, 32, all), 1.0);
}

TEST(CoverageMap, TimesWorkedCountsEveryQuadOverThePoint) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> place(-200.0, 200.0), turn(0.0, 2 * M_PI);
    CoverageMap map;
    std::vector<StripQuad> quads;
    for (int k = 0; k < 400; ++k) {
        quads.push_back(quadAt(place(random), place(random), turn(random), 120.0, 30.0, false));
        map.add(quads.back());
    }
    for (int k = 0; k < 2000; ++k) {
        const GroundPoint p{place(random), place(random)};
        int inside = 0;
        // Each quad here is a rectangle: inside when its projections fall within it.
        for (const StripQuad& q : quads) {
            const double ax = q.olderRight.x - q.olderLeft.x, ay = q.olderRight.y - q.olderLeft.y;
            const double bx = q.newerLeft.x - q.olderLeft.x, by = q.newerLeft.y - q.olderLeft.y;
            const double u =
                ((p.x - q.olderLeft.x) * ax + (p.y - q.olderLeft.y) * ay) / (ax * ax + ay * ay);
            const double v =
                ((p.x - q.olderLeft.x) * bx + (p.y - q.olderLeft.y) * by) / (bx * bx + by * by);
            if (u > 1e-9 && u < 1 - 1e-9 && v > 1e-9 && v < 1 - 1e-9) ++inside;
        }
        ASSERT_EQ(map.timesWorked(p), inside) << p.x << ", " << p.y;
    }
}

}  // namespace
