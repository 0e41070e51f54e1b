// A work's ground between the plane and the book, against exact shapes: strips whose union is
// known by hand, and a saved ground cut into triangles that the coverage map must count once.
#include <gtest/gtest.h>

#include "coverage/CoverageMap.h"
#include "farm/WorkGround.h"
#include "guidance/Projection.h"
#include "tests/farm/FarmTestSupport.h"

using namespace farm_test;

namespace {

constexpr double kX = 692000.0, kY = 5337000.0;  // zone 32 north

// The work's plane as the fix pipeline sets it, its origin at (kX, kY) of the zone.
struct Plane {
    Plane() {
        const Transform zone(kZone32);
        const LonLat origin = zone.degrees(kX, kY);
        setUpProjection(transforms);
        setOrigin(transforms, plane, origin.lon, origin.lat);
    }
    ~Plane() { releaseProjection(transforms); }
    ProjectionTransforms transforms;
    WorkPlane plane;
    // Plane decimetres to metres of the zone.
    double zoneX(double x) const { return (x + plane.originX) * 0.1; }
    double zoneY(double y) const { return (y + plane.originY) * 0.1; }
};

// A straight strip northward: left edge at x, width w, from y0 to y1 (dm), a record every dm.
void strip(std::vector<StripQuad>& quads, double x, double w, double y0, double y1, double step) {
    for (double y = y0; y + step <= y1 + 1e-9; y += step)
        quads.push_back({{x, y}, {x + w, y}, {x, y + step}, {x + w, y + step}});
}

Exact box(const Plane& p, double x0, double y0, double x1, double y1) {
    Exact e;
    e.rings.push_back({{p.zoneX(x0), p.zoneY(y0)},
                       {p.zoneX(x1), p.zoneY(y0)},
                       {p.zoneX(x1), p.zoneY(y1)},
                       {p.zoneX(x0), p.zoneY(y1)}});
    return e;
}

}  // namespace

TEST(WorkGround, GroundOfQuadsIsTheUnionOfTheStripsInDegrees) {
    const Plane p;
    std::vector<StripQuad> quads;
    // Two passes of 30 m, 200 m long, overlapping by 5 m; the second driven back south.
    strip(quads, 0.0, 300.0, 0.0, 2000.0, 10.0);
    std::vector<StripQuad> back;
    strip(back, 250.0, 300.0, 0.0, 2000.0, 8.0);
    for (auto it = back.rbegin(); it != back.rend(); ++it)
        quads.push_back({it->newerRight, it->newerLeft, it->olderRight, it->olderLeft});
    // A quad folded on a tight turn, away from the passes: the inner corner went back, so the
    // 4-gon crosses itself. Its two triangles cover (0,3000) (100,2950) (300,3000) (300,3100)
    // (166.67,3000): 141.67 m^2, where the crossed 4-gon made valid would be 108.33 m^2.
    quads.push_back({{0.0, 3000.0}, {300.0, 3000.0}, {100.0, 2950.0}, {300.0, 3100.0}});

    const FieldShape ground = groundOfQuads(quads, p.plane);
    ASSERT_FALSE(ground.empty());
    const Transform zone(kZone32);
    Geos geos;
    GEOSGeometry* got = geos.polygons(zone.exact(ground));
    Exact folded;
    folded.rings.push_back({{p.zoneX(0.0), p.zoneY(3000.0)},
                            {p.zoneX(100.0), p.zoneY(2950.0)},
                            {p.zoneX(300.0), p.zoneY(3000.0)},
                            {p.zoneX(300.0), p.zoneY(3100.0)},
                            {p.zoneX(500.0 / 3.0), p.zoneY(3000.0)}});
    GEOSGeometry* expected = geos.polygons({box(p, 0.0, 0.0, 550.0, 2000.0), folded});
    EXPECT_NEAR(geos.area(got), 55.0 * 200.0 + 141.6667, 0.05);
    EXPECT_LT(geos.symmetricDifferenceArea(got, expected), 0.05);
    EXPECT_EQ(ground.size(), 2u);
}

TEST(WorkGround, TrianglesInPlaneCoverTheGroundOnceInTheCoverageMap) {
    const Plane p;
    const Transform zone(kZone32);
    // An L of 120 m x 90 m with a hole, a few metres from the plane's origin.
    const Exact l{
        {denseRing({{{kX + 10, kY + 5}},
                    {{kX + 130, kY + 5}},
                    {{kX + 130, kY + 45}},
                    {{kX + 60, kY + 45}},
                    {{kX + 60, kY + 95}},
                    {{kX + 10, kY + 95}}},
                   7.0),
         {{kX + 25, kY + 20}, {kX + 45, kY + 20}, {kX + 45, kY + 35}, {kX + 25, kY + 35}}}};
    const FieldShape shape = zone.shape({l});
    Geos geos;
    GEOSGeometry* exact = geos.polygons({l});

    const std::vector<StripQuad> triangles = trianglesInPlane(shape, p.plane);
    ASSERT_FALSE(triangles.empty());
    CoverageMap map;
    double ground = 0.0;
    for (const StripQuad& t : triangles) {
        EXPECT_EQ(t.newerLeft.x, t.newerRight.x);
        EXPECT_EQ(t.newerLeft.y, t.newerRight.y);
        ground += map.add(t);
    }
    EXPECT_NEAR(ground * 0.01, geos.area(exact), 0.01);
    // Every metre of the ground is worked once, nothing outside it or in the hole. The grid is
    // odd so that no point falls on a triangle's edge, which both triangles would claim.
    int inside = 0;
    for (double y = kY - 4.6181; y < kY + 100; y += 1.9713)
        for (double x = kX + 4.3172; x < kX + 140; x += 2.0317) {
            // Points on a boundary belong to one side or both: they prove nothing.
            if (geos.distance(exact, x, y) < 0.01 && !geos.contains(exact, x, y)) continue;
            const int times =
                map.timesWorked({(x * 10.0) - p.plane.originX, (y * 10.0) - p.plane.originY});
            const bool in = geos.contains(exact, x, y);
            inside += in;
            EXPECT_EQ(times, in ? 1 : 0) << x - kX << " " << y - kY;
        }
    EXPECT_GT(inside, 1000);

    // The rings in the plane are the exact rings, to the millimetre.
    const auto rings = ringsInPlane(shape, p.plane);
    ASSERT_EQ(rings.size(), 2u);
    ASSERT_EQ(rings[0].size(), l.rings[0].size());
    for (std::size_t i = 0; i < rings[0].size(); ++i) {
        EXPECT_NEAR(p.zoneX(rings[0][i].x), l.rings[0][i][0], 1e-3);
        EXPECT_NEAR(p.zoneY(rings[0][i].y), l.rings[0][i][1], 1e-3);
    }
}
