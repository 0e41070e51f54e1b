// The oracle of the coverage tests: GEOS's own union of triangles, and its point-in-polygon test.
#pragma once

#include <geos_c.h>

#include <vector>

#include "coverage/StripQuad.h"

namespace coverage_test {

class Geos {
  public:
    Geos() : context_(GEOS_init_r()) {}
    ~Geos() { GEOS_finish_r(context_); }
    Geos(const Geos&) = delete;
    Geos& operator=(const Geos&) = delete;

    // The quad as the two triangles the worked ground is made of.
    void addQuad(const StripQuad& q) {
        addTriangle(q.olderLeft, q.olderRight, q.newerLeft);
        addTriangle(q.olderRight, q.newerLeft, q.newerRight);
    }
    // The area of the union of every triangle added.
    double unionArea() {
        if (triangles_.empty()) return 0.0;
        GEOSGeometry* all = GEOSGeom_createCollection_r(
            context_, GEOS_GEOMETRYCOLLECTION, triangles_.data(), unsigned(triangles_.size()));
        triangles_.clear();
        GEOSGeometry* merged = GEOSUnaryUnion_r(context_, all);
        double area = 0.0;
        GEOSArea_r(context_, merged, &area);
        GEOSGeom_destroy_r(context_, merged);
        GEOSGeom_destroy_r(context_, all);
        return area;
    }

  private:
    void addTriangle(GroundPoint a, GroundPoint b, GroundPoint c) {
        const double twice = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        if (twice == 0.0) return;
        GEOSCoordSequence* ring = GEOSCoordSeq_create_r(context_, 4, 2);
        const GroundPoint corners[4] = {a, b, c, a};
        for (unsigned i = 0; i < 4; ++i)
            GEOSCoordSeq_setXY_r(context_, ring, i, corners[i].x, corners[i].y);
        GEOSGeometry* shell = GEOSGeom_createLinearRing_r(context_, ring);
        triangles_.push_back(GEOSGeom_createPolygon_r(context_, shell, nullptr, 0));
    }

    GEOSContextHandle_t context_;
    std::vector<GEOSGeometry*> triangles_;
};

}  // namespace coverage_test
