// Drives up and down passes at 25 km/h, ten fixes a second, with eight sections told 0.3 s
// before they open and 0.2 s before they close, across a field whose top runs at 30 degrees to
// the passes, and prints section_edge_cm: how far, at worst, the work's own coverage goes beyond
// the field, or stops short of the ground each section had to work (its column of the field up
// to where the boundary meets the section's first corner).
#include <geos_c.h>

#include <algorithm>
#include <cstdio>
#include <mutex>

#include "app/FieldWork.h"
#include "app/SectionControl.h"
#include "tests/app/SectionDrive.h"

using namespace section_drive;

namespace {

// The farthest a vertex of a lies from b (dm).
double farthestVertex(const Geos& g, const GEOSGeometry* a, const GEOSGeometry* b) {
    GEOSGeometry* points = GEOSGeom_extractUniquePoints_r(g.h(), a);
    double worst = 0.0;
    const int n = GEOSGetNumGeometries_r(g.h(), points);
    for (int i = 0; i < n; ++i) {
        double d = 0.0;
        GEOSDistance_r(g.h(), GEOSGetGeometryN_r(g.h(), points, i), b, &d);
        worst = std::max(worst, d);
    }
    GEOSGeom_destroy_r(g.h(), points);
    return worst;
}

}  // namespace

int main() {
    pipeline_test::resetWork(kStateFreeWork);
    appState.settings.lookAheadSeconds = 0.0;
    const std::vector<GroundPoint> ring = slantedFieldRing();
    {
        std::lock_guard lock(appState.frameLock);
        SectionRules rules;
        rules.turnOnSeconds = 0.3;
        rules.turnOffSeconds = 0.2;
        configureSections(*parseSectionLayout("", 8, 1200).layout, rules, true);
        workField.fieldId = 1;
        workField.inPlane = 1;
        workField.shape = fieldInPlane({ring}, {});
    }
    drivePasses(25, 10);

    Geos g;
    GEOSGeometry* field = g.polygon(ring);
    GEOSGeometry* everywhere = g.box(-1e5, -1e5, 1e5, 1e5);
    Coverage worked = coverageOf(g, everywhere);
    // Beyond the boundary: the coverage's vertices outside the field, from the field.
    GEOSGeometry* outside = GEOSDifference_r(g.h(), worked.ground, field);
    const double beyond = farthestVertex(g, outside, field);
    // Short of it: each section column of the passes' band, up to the boundary at its lower
    // corner, less the coverage.
    const double sectionWidth = 2 * kHalfWidth / 8;
    std::vector<GEOSGeometry*> columns;
    for (double x = -kHalfWidth; x < (kPasses - 1) * kSpacing + kHalfWidth - 1; x += sectionWidth)
        columns.push_back(g.box(x, -50, x + sectionWidth, fieldTopAt(x)));
    GEOSGeometry* all = GEOSGeom_createCollection_r(g.h(), GEOS_GEOMETRYCOLLECTION, columns.data(),
                                                    unsigned(columns.size()));
    GEOSGeometry* ideal = GEOSUnaryUnion_r(g.h(), all);
    GEOSGeometry* missing = GEOSDifference_r(g.h(), ideal, worked.ground);
    const double shortOf = farthestVertex(g, missing, worked.ground);
    std::fprintf(stderr, "bench_sectionedge: %u quads; beyond %.2f cm, short %.2f cm\n",
                 appState.work.coverage.size(), beyond * 10, shortOf * 10);
    std::printf("section_edge_cm: %.2f\n", std::max(beyond, shortOf) * 10);
    for (GEOSGeometry* x : {field, everywhere, worked.ground, outside, all, ideal, missing})
        GEOSGeom_destroy_r(g.h(), x);
    return 0;
}
