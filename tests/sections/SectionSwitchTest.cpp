// Section switching against GEOS: where each section's lanes enter worked ground or leave the
// field is found by GEOS's own clipping of the lane's line, and the engine must agree.
#include <geos_c.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "sections/SectionSwitch.h"

namespace {

using Ring = std::vector<GroundPoint>;

// The lanes of section i as the engine places them: inset from both edges, at most 2.5 dm
// apart, offsets from the bar's centre.
std::vector<double> lanesOf(const SectionLayout& layout, int i) {
    const double l = layout.leftDm(i), r = layout.rightDm(i);
    const double inset = std::min(0.25, (r - l) / 4);
    const int gaps = std::max(1, int(std::ceil((r - l - 2 * inset) / 2.5)));
    std::vector<double> lanes;
    for (int k = 0; k <= gaps; ++k) lanes.push_back(l + inset + (r - l - 2 * inset) * k / gaps);
    return lanes;
}

class Geos {
  public:
    Geos() : c_(GEOS_init_r()) {}
    ~Geos() {
        for (GEOSGeometry* g : owned_) GEOSGeom_destroy_r(c_, g);
        GEOS_finish_r(c_);
    }
    Geos(const Geos&) = delete;
    Geos& operator=(const Geos&) = delete;

    GEOSGeometry* polygon(const std::vector<Ring>& rings) {
        std::vector<GEOSGeometry*> holes;
        for (std::size_t i = 1; i < rings.size(); ++i) holes.push_back(ring(rings[i]));
        return keep(
            GEOSGeom_createPolygon_r(c_, ring(rings[0]), holes.data(), unsigned(holes.size())));
    }
    // The union of the quads' triangles: the worked ground.
    GEOSGeometry* worked(const std::vector<StripQuad>& quads) {
        std::vector<GEOSGeometry*> parts;
        for (const StripQuad& q : quads) {
            parts.push_back(GEOSGeom_createPolygon_r(
                c_, ring({q.olderLeft, q.olderRight, q.newerLeft}), nullptr, 0));
            parts.push_back(GEOSGeom_createPolygon_r(
                c_, ring({q.olderRight, q.newerLeft, q.newerRight}), nullptr, 0));
        }
        GEOSGeometry* all = GEOSGeom_createCollection_r(c_, GEOS_GEOMETRYCOLLECTION, parts.data(),
                                                        unsigned(parts.size()));
        GEOSGeometry* merged = keep(GEOSUnaryUnion_r(c_, all));
        GEOSGeom_destroy_r(c_, all);
        return merged;
    }
    // The least distance from a along travel t (up to length) at which the lane is in area
    // (inside) or out of it (!inside); infinity when never.
    double firstAlong(GroundPoint a, GroundPoint t, double length, const GEOSGeometry* area,
                      bool inside) {
        GEOSCoordSequence* s = GEOSCoordSeq_create_r(c_, 2, 2);
        GEOSCoordSeq_setXY_r(c_, s, 0, a.x, a.y);
        GEOSCoordSeq_setXY_r(c_, s, 1, a.x + length * t.x, a.y + length * t.y);
        GEOSGeometry* line = GEOSGeom_createLineString_r(c_, s);
        GEOSGeometry* part =
            inside ? GEOSIntersection_r(c_, line, area) : GEOSDifference_r(c_, line, area);
        double best = INFINITY;
        for (int g = 0; g < GEOSGetNumGeometries_r(c_, part); ++g) {
            const GEOSGeometry* piece = GEOSGetGeometryN_r(c_, part, g);
            if (GEOSGeomTypeId_r(c_, piece) != GEOS_LINESTRING) continue;
            const GEOSCoordSequence* cs = GEOSGeom_getCoordSeq_r(c_, piece);
            unsigned n = 0;
            GEOSCoordSeq_getSize_r(c_, cs, &n);
            for (unsigned i = 0; i < n; ++i) {
                double x, y;
                GEOSCoordSeq_getXY_r(c_, cs, i, &x, &y);
                best = std::min(best, (x - a.x) * t.x + (y - a.y) * t.y);
            }
        }
        GEOSGeom_destroy_r(c_, part);
        GEOSGeom_destroy_r(c_, line);
        return best;
    }

  private:
    GEOSGeometry* ring(const Ring& points) {
        GEOSCoordSequence* s = GEOSCoordSeq_create_r(c_, unsigned(points.size() + 1), 2);
        for (unsigned i = 0; i <= points.size(); ++i)
            GEOSCoordSeq_setXY_r(c_, s, i, points[i % points.size()].x,
                                 points[i % points.size()].y);
        return GEOSGeom_createLinearRing_r(c_, s);
    }
    GEOSGeometry* keep(GEOSGeometry* g) {
        owned_.push_back(g);
        return g;
    }
    GEOSContextHandle_t c_;
    std::vector<GEOSGeometry*> owned_;
};

// A strip of quads 10 dm long driven north over x in [x0, x1], y in [y0, y1).
void addBlock(CoverageMap& map, std::vector<StripQuad>& quads, double x0, double x1, double y0,
              double y1) {
    for (double y = y0; y < y1; y += 10) {
        const StripQuad q{{x0, y}, {x1, y}, {x0, std::min(y1, y + 10)}, {x1, std::min(y1, y + 10)}};
        map.add(q);
        quads.push_back(q);
    }
}

// A bar of the layout's width centred at centre, square to travel at heading degrees from north.
SectionScene barAt(const SectionLayout& layout, GroundPoint centre, double headingDegrees) {
    const double h = headingDegrees * M_PI / 180, half = layout.implementWidthCm / 20.0;
    SectionScene scene;
    scene.travel = {std::sin(h), std::cos(h)};
    const GroundPoint right{scene.travel.y, -scene.travel.x};
    scene.left = {centre.x - half * right.x, centre.y - half * right.y};
    scene.right = {centre.x + half * right.x, centre.y + half * right.y};
    return scene;
}

GroundPoint laneStart(const SectionScene& scene, double offset) {
    const double len = std::hypot(scene.right.x - scene.left.x, scene.right.y - scene.left.y);
    return {(scene.left.x + scene.right.x) / 2 + offset * (scene.right.x - scene.left.x) / len,
            (scene.left.y + scene.right.y) / 2 + offset * (scene.right.y - scene.left.y) / len};
}

std::vector<SectionDecision> decide(const SectionLayout& layout, const SectionRules& rules,
                                    const SectionScene& scene) {
    std::vector<SectionDecision> out(std::size_t(layout.count()));
    decideSections(layout, rules, scene, out);
    return out;
}

TEST(SectionSwitch, SectionsGoOffWhereTheirLanesEnterWorkedGroundAtAnAngle) {
    const SectionLayout layout = *parseSectionLayout("", 8, 800).layout;
    CoverageMap map;
    std::vector<StripQuad> quads;
    addBlock(map, quads, 80, 300, 150, 400);
    Geos geos;
    const GEOSGeometry* worked = geos.worked(quads);
    SectionScene scene = barAt(layout, {0, 0}, 30);
    scene.coverage = &map;
    scene.ignoreFrom = map.size();
    scene.horizon = 500;
    for (double share : {1.0, 0.0}) {
        SCOPED_TRACE(share);
        const auto out = decide(layout, {0, 0, share, 0, false}, scene);
        for (int i = 0; i < layout.count(); ++i) {
            double first = INFINITY, last = 0;
            for (double o : lanesOf(layout, i)) {
                const double d =
                    geos.firstAlong(laneStart(scene, o), scene.travel, 600, worked, true);
                first = std::min(first, d);
                last = std::max(last, d);
            }
            ASSERT_LT(last, 500);
            EXPECT_TRUE(out[std::size_t(i)].on);
            EXPECT_NEAR(out[std::size_t(i)].changeAt, share == 1.0 ? last : first, 1e-6) << i;
        }
    }
}

TEST(SectionSwitch, CoverageShareDecidesAHalfWorkedSection) {
    const SectionLayout layout = *parseSectionLayout("", 1, 80).layout;  // four lanes
    SectionScene scene = barAt(layout, {0, 0}, 0);
    scene.horizon = 200;
    CoverageMap half, whole;
    std::vector<StripQuad> quads;
    addBlock(half, quads, -10, 0, -10, 100);
    addBlock(whole, quads, -10, 10, -10, 100);
    scene.coverage = &half;
    scene.ignoreFrom = half.size();
    const SectionDecision atOne = decide(layout, {0, 0, 1.0, 0, false}, scene)[0];
    EXPECT_TRUE(atOne.on);
    EXPECT_EQ(atOne.changeAt, kNoChange);
    const SectionDecision atHalf = decide(layout, {0, 0, 0.5, 0, false}, scene)[0];
    EXPECT_FALSE(atHalf.on);
    EXPECT_EQ(atHalf.reason, SectionReason::WorkedGround);
    EXPECT_NEAR(atHalf.changeAt, 100, 1e-9);
    scene.coverage = &whole;
    const SectionDecision full = decide(layout, {0, 0, 1.0, 0, false}, scene)[0];
    EXPECT_FALSE(full.on);
    EXPECT_NEAR(full.changeAt, 100, 1e-9);
}

TEST(SectionSwitch, SectionsGoOffWhereTheirFirstLaneLeavesTheFieldOrEntersTheHeadland) {
    const SectionLayout layout = *parseSectionLayout("", 8, 800).layout;
    const double k = std::sqrt(3.0);  // the far edge runs at 30 degrees to travel (north)
    const Ring outer{{-100, -300}, {100, -300}, {100, 200 + 100 * k}, {-100, 200 - 100 * k}};
    const Ring hole{{10, 50}, {30, 50}, {30, 80}, {10, 80}};
    const Ring inner{{-90, -290}, {90, -290}, {90, 180 + 90 * k}, {-90, 180 - 90 * k}};
    const FieldInPlane field = fieldInPlane({outer, hole}, {inner});
    Geos geos;
    const GEOSGeometry* inField = geos.polygon({outer, hole});
    const GEOSGeometry* insideInner = geos.polygon({inner});
    SectionScene scene = barAt(layout, {0, 0}, 0);
    scene.field = &field;
    scene.horizon = 400;
    for (bool headland : {false, true}) {
        SCOPED_TRACE(headland);
        const auto out = decide(layout, {0, 0, 1.0, 0, headland}, scene);
        for (int i = 0; i < layout.count(); ++i) {
            double leaves = INFINITY;
            for (double o : lanesOf(layout, i)) {
                const GroundPoint a = laneStart(scene, o);
                leaves = std::min(leaves, geos.firstAlong(a, scene.travel, 600, inField, false));
                if (headland)
                    leaves =
                        std::min(leaves, geos.firstAlong(a, scene.travel, 600, insideInner, false));
            }
            EXPECT_TRUE(out[std::size_t(i)].on);
            EXPECT_NEAR(out[std::size_t(i)].changeAt, leaves, 1e-6) << i;
        }
    }
    // In the headland's strip along the field's near edge, 5 dm short of its inner line.
    scene = barAt(layout, {0, -295}, 0);
    scene.field = &field;
    scene.horizon = 400;
    for (const SectionDecision& d : decide(layout, {0, 0, 1.0, 0, true}, scene)) {
        EXPECT_EQ(d.reason, SectionReason::Headland);
        EXPECT_NEAR(d.changeAt, 5, 1e-9);
    }
    for (const SectionDecision& d : decide(layout, {0, 0, 1.0, 0, false}, scene))
        EXPECT_EQ(d.reason, SectionReason::On);
    // Half the bar out over the field's left edge.
    scene = barAt(layout, {-100, 0}, 0);
    scene.field = &field;
    const auto across = decide(layout, {0, 0, 1.0, 0, false}, scene);
    for (int i = 0; i < layout.count(); ++i)
        EXPECT_EQ(across[std::size_t(i)].reason,
                  i < 4 ? SectionReason::OutsideField : SectionReason::On);
}

TEST(SectionSwitch, TooSlowTurnsAllOffAndTheValveIsToldOneTurnTimeAhead) {
    const SectionLayout layout = *parseSectionLayout("", 1, 100).layout;
    CoverageMap map;
    std::vector<StripQuad> quads;
    addBlock(map, quads, -10, 10, 100, 300);
    const SectionRules rules{2.0, 1.0, 1.0, 10.0, false};
    SectionScene scene = barAt(layout, {0, 0}, 0);
    scene.coverage = &map;
    scene.ignoreFrom = map.size();
    scene.horizon = 5;
    scene.speed = 9;
    const SectionDecision slow = decide(layout, rules, scene)[0];
    EXPECT_FALSE(slow.on);
    EXPECT_FALSE(slow.command);
    EXPECT_EQ(slow.reason, SectionReason::TooSlow);
    EXPECT_EQ(slow.changeAt, kNoChange);
    // At 20 dm/s the valve opens 40 dm ahead of unworked ground and closes 20 dm ahead of worked.
    scene.speed = 20;
    auto commandAt = [&](double y) {
        SectionScene at = barAt(layout, {0, y}, 0);
        at.coverage = &map;
        at.ignoreFrom = map.size();
        at.horizon = 5;
        at.speed = 20;
        return decide(layout, rules, at)[0];
    };
    EXPECT_TRUE(commandAt(79).command);
    EXPECT_FALSE(commandAt(81).command);
    EXPECT_TRUE(commandAt(81).on);
    EXPECT_NEAR(commandAt(97).changeAt, 3, 1e-9);
    EXPECT_FALSE(commandAt(259).command);
    EXPECT_TRUE(commandAt(261).command);
    EXPECT_FALSE(commandAt(261).on);
}

TEST(SectionSwitch, QuadsFromIgnoreFromOnAreLeftOut) {
    const SectionLayout layout = *parseSectionLayout("", 2, 200).layout;
    CoverageMap map;
    std::vector<StripQuad> quads;
    addBlock(map, quads, -10, 10, 100, 150);
    const std::uint32_t newest = map.size();
    addBlock(map, quads, -10, 10, 50, 100);
    SectionScene scene = barAt(layout, {0, 0}, 0);
    scene.coverage = &map;
    scene.horizon = 200;
    for (auto [ignoreFrom, changeAt] : {std::pair{map.size(), 50.0}, std::pair{newest, 100.0},
                                        std::pair{std::uint32_t(0), kNoChange}}) {
        scene.ignoreFrom = ignoreFrom;
        for (const SectionDecision& d : decide(layout, {}, scene))
            EXPECT_EQ(d.changeAt, changeAt) << ignoreFrom;
    }
}

}  // namespace
