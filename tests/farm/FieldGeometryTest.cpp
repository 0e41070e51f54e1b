// A field's geometry against GEOS applied in the test to the exact polygon in its UTM zone, and
// against areas worked out by hand.
#include <gtest/gtest.h>

#include "farm/FarmContents.h"
#include "farm/FieldGeometry.h"
#include "farm/FieldOrder.h"
#include "tests/farm/FarmTestSupport.h"

using namespace farm_test;

namespace {

constexpr double kX = 690000.0, kY = 5336000.0;  // near Freising, zone 32

Exact rectangle(double x0, double y0, double w, double h) {
    return {{denseRing({{{x0, y0}}, {{x0 + w, y0}}, {{x0 + w, y0 + h}}, {{x0, y0 + h}}}, 25.0)}};
}

// A U of 300 x 240 m open to the north, with a pond in its west arm.
Exact uWithPond() {
    const double x = kX + 1000.0, y = kY;
    Exact u{{denseRing({{{x, y}},
                        {{x + 300, y}},
                        {{x + 300, y + 240}},
                        {{x + 200, y + 240}},
                        {{x + 200, y + 90}},
                        {{x + 100, y + 90}},
                        {{x + 100, y + 240}},
                        {{x, y + 240}}},
                       20.0)}};
    u.rings.push_back({{x + 30, y + 130}, {x + 30, y + 190}, {x + 70, y + 190}, {x + 70, y + 130}});
    return u;
}

double shoelace(const std::vector<std::array<double, 2>>& ring) {
    double twice = 0.0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const auto& p = ring[i];
        const auto& q = ring[(i + 1) % ring.size()];
        twice += p[0] * q[1] - q[0] * p[1];
    }
    return std::fabs(twice) / 2.0;
}

// The shape's area in the zone, by GEOS in the test.
double areaInZone(Geos& geos, const Transform& zone, const FieldShape& shape) {
    if (shape.empty()) return 0.0;
    return geos.area(geos.polygons(zone.exact(shape)));
}

}  // namespace

TEST(FieldGeometry, AreaAndHeadlandMatchGeosOnTheExactPolygon) {
    const Transform zone(kZone32);
    Geos geos;
    const std::vector<std::vector<Exact>> fields = {{rectangle(kX, kY, 400.0, 250.0)},
                                                    {uWithPond()}};
    for (const auto& exact : fields) {
        SCOPED_TRACE(exact[0].rings.size());
        const FieldShape boundary = zone.shape(exact);
        GEOSGeometry* oracle = geos.polygons(exact);
        EXPECT_NEAR(fieldAreaM2(boundary), geos.area(oracle), geos.area(oracle) * 1e-5);
        for (double width : {6.0, 18.0, 36.0}) {
            const double expected = geos.area(geos.buffer(oracle, -width));
            const FieldShape inner = headlandLine(boundary, width);
            ASSERT_FALSE(inner.empty()) << width;
            EXPECT_NEAR(areaInZone(geos, zone, inner), expected, expected * 0.005) << width;
            // The line lies inside the field, a headland's width from the boundary.
            GEOSGeometry* line = geos.polygons(zone.exact(inner));
            EXPECT_NEAR(geos.symmetricDifferenceArea(line, geos.buffer(oracle, -width)), 0.0,
                        expected * 0.005)
                << width;
        }
    }
    // The U's arms are 100 m wide: two 60 m headlands leave nothing inside.
    EXPECT_TRUE(headlandLine(zone.shape({uWithPond()}), 60.0).empty());
}

TEST(FieldGeometry, DrivenRingsThatCrossThemselvesAreMadeValidWithTheirWholeGround) {
    const Transform zone(kZone32);
    struct Case {
        const char* name;
        std::vector<std::array<double, 2>> ring;                 // as driven, metres from (kX, kY)
        std::vector<std::vector<std::array<double, 2>>> pieces;  // its ground, worked out by hand
    };
    const std::vector<Case> cases = {
        // A figure of eight: the drive crosses itself at (200, 200).
        {"figure of eight",
         {{0, 0}, {100, 100}, {400, 400}, {400, 250}, {400, 100}, {0, 300}},
         {{{0, 0}, {200, 200}, {0, 300}}, {{200, 200}, {400, 400}, {400, 100}}}},
        // A rectangle driven from (20, 0) whose end overshoots the start, crossing the first
        // stretch at (30, 0) and ending at (60, -10).
        {"overshooting end",
         {{20, 0}, {300, 0}, {300, 200}, {0, 200}, {0, 10}, {60, -10}},
         {{{30, 0}, {300, 0}, {300, 200}, {0, 200}, {0, 10}}, {{20, 0}, {30, 0}, {60, -10}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::array<double, 2>> driven;
        for (const auto& p : c.ring) driven.push_back({kX + p[0], kY + p[1]});
        const FieldShape in = zone.shape({Exact{{denseRing(driven, 5.0)}}});
        EXPECT_FALSE(fieldShapeIsValid(in));
        FieldShape out;
        std::string error;
        ASSERT_TRUE(makeFieldValid(in, out, error)) << error;
        EXPECT_TRUE(fieldShapeIsValid(out));
        double expected = 0.0;
        for (const auto& piece : c.pieces) expected += shoelace(piece);
        Geos geos;
        EXPECT_NEAR(areaInZone(geos, zone, out), expected, expected * 0.005);
        EXPECT_NEAR(fieldAreaM2(out), expected, expected * 0.005);
    }
}

TEST(FieldGeometry, MakeValidKeepsHolesAndDropsPiecesWithoutArea) {
    const Transform zone(kZone32);
    Exact u = uWithPond();
    // A spike out of the field and back along itself: ground of no area.
    u.rings[0].insert(u.rings[0].begin() + 1,
                      {{kX + 1010.0, kY}, {kX + 1010.0, kY - 40.0}, {kX + 1010.0, kY}});
    FieldShape out;
    std::string error;
    ASSERT_TRUE(makeFieldValid(zone.shape({u}), out, error)) << error;
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].holes.size(), 1u);
    Geos geos;
    const double expected = geos.area(geos.polygons({uWithPond()}));
    EXPECT_NEAR(areaInZone(geos, zone, out), expected, 0.5);

    Exact flat;
    flat.rings.push_back({{kX, kY}, {kX + 50, kY}, {kX + 100, kY}});
    const FieldShape line = zone.shape({flat});
    EXPECT_FALSE(makeFieldValid(line, out, error));
    EXPECT_FALSE(error.empty());
}

TEST(FieldGeometry, FieldsByDistanceStartWithTheFieldTheVehicleStandsIn) {
    const Transform zone(kZone32);
    Geos geos;
    FarmContents farm;
    std::vector<GEOSGeometry*> exact;
    // A row of fields and the U, whose pond and inner yard are not field.
    const std::vector<Exact> shapes = {rectangle(kX, kY, 400, 250), uWithPond(),
                                       rectangle(kX + 2000, kY + 900, 150, 150),
                                       rectangle(kX - 700, kY - 300, 500, 200)};
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        FieldEntry field;
        field.name = "field " + std::to_string(i);
        field.boundary = zone.shape({shapes[i]});
        farm.fields.push_back(field);
        exact.push_back(geos.polygons({shapes[i]}));
    }
    const std::vector<std::array<double, 2>> vehicles = {
        {kX + 1050, kY + 160},  // in the pond
        {kX + 1150, kY + 200},  // in the U's yard
        {kX + 1250, kY + 100},  // in the U's east arm
        {kX + 200, kY + 100},   // in the first field
        {kX + 600, kY + 600},   // between them
    };
    for (const auto& v : vehicles) {
        SCOPED_TRACE(v[0] - kX);
        const std::vector<FieldByDistance> order = fieldsByDistance(farm, zone.degrees(v[0], v[1]));
        ASSERT_EQ(order.size(), shapes.size());
        std::vector<double> oracle;
        for (GEOSGeometry* g : exact) oracle.push_back(geos.distance(g, v[0], v[1]));
        for (std::size_t k = 0; k < order.size(); ++k) {
            EXPECT_NEAR(order[k].metres, oracle[order[k].index], 0.01);
            if (k > 0) {
                EXPECT_LE(oracle[order[k - 1].index], oracle[order[k].index]);
            }
        }
        EXPECT_EQ(order[0].metres == 0.0, oracle[order[0].index] == 0.0);
    }
}
