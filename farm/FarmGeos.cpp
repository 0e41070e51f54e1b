#include "farm/FarmGeos.h"

#include <utility>
#include <vector>

namespace {

class GeosContext {
  public:
    GeosContext() : handle_(GEOS_init_r()) {}
    ~GeosContext() { GEOS_finish_r(handle_); }
    GeosContext(const GeosContext&) = delete;
    GeosContext& operator=(const GeosContext&) = delete;
    GEOSContextHandle_t get() const { return handle_; }

  private:
    GEOSContextHandle_t handle_;
};

// The ring closed, without repeated points; empty when fewer than three distinct points remain.
std::vector<LonLat> closedRing(const std::vector<LonLat>& ring) {
    std::vector<LonLat> out;
    out.reserve(ring.size() + 1);
    for (const LonLat& p : ring)
        if (out.empty() || out.back().lon != p.lon || out.back().lat != p.lat) out.push_back(p);
    while (out.size() > 1 && out.back().lon == out.front().lon && out.back().lat == out.front().lat)
        out.pop_back();
    if (out.size() < 3) return {};
    out.push_back(out.front());
    return out;
}

GEOSGeometry* makeRing(GEOSContextHandle_t h, const std::vector<LonLat>& ring) {
    const std::vector<LonLat> closed = closedRing(ring);
    if (closed.empty()) return nullptr;
    GEOSCoordSequence* seq = GEOSCoordSeq_create_r(h, unsigned(closed.size()), 2);
    if (!seq) return nullptr;
    for (unsigned i = 0; i < closed.size(); ++i)
        GEOSCoordSeq_setXY_r(h, seq, i, closed[i].lon, closed[i].lat);
    return GEOSGeom_createLinearRing_r(h, seq);
}

std::vector<LonLat> ringPoints(GEOSContextHandle_t h, const GEOSGeometry* ring) {
    std::vector<LonLat> out;
    const GEOSCoordSequence* seq = GEOSGeom_getCoordSeq_r(h, ring);
    unsigned size = 0;
    if (!seq || !GEOSCoordSeq_getSize_r(h, seq, &size)) return out;
    out.reserve(size);
    for (unsigned i = 0; i < size; ++i) {
        LonLat p;
        GEOSCoordSeq_getXY_r(h, seq, i, &p.lon, &p.lat);
        out.push_back(p);
    }
    if (out.size() > 1 && out.back().lon == out.front().lon && out.back().lat == out.front().lat)
        out.pop_back();
    return out;
}

void collectPolygons(GEOSContextHandle_t h, const GEOSGeometry* g, FieldShape& out) {
    const int type = GEOSGeomTypeId_r(h, g);
    if (type == GEOS_POLYGON) {
        if (GEOSisEmpty_r(h, g) == 1) return;
        FieldPolygon polygon;
        polygon.outer = ringPoints(h, GEOSGetExteriorRing_r(h, g));
        const int holes = GEOSGetNumInteriorRings_r(h, g);
        for (int i = 0; i < holes; ++i)
            polygon.holes.push_back(ringPoints(h, GEOSGetInteriorRingN_r(h, g, i)));
        if (polygon.outer.size() >= 3) out.push_back(std::move(polygon));
    } else if (type == GEOS_MULTIPOLYGON || type == GEOS_GEOMETRYCOLLECTION) {
        const int n = GEOSGetNumGeometries_r(h, g);
        for (int i = 0; i < n; ++i) collectPolygons(h, GEOSGetGeometryN_r(h, g, i), out);
    }
}

}  // namespace

GEOSContextHandle_t farmGeos() {
    thread_local GeosContext ctx;
    return ctx.get();
}

GeosPtr geosOfPolygon(const FieldPolygon& polygon) {
    GEOSContextHandle_t h = farmGeos();
    GEOSGeometry* shell = makeRing(h, polygon.outer);
    if (!shell) return nullptr;
    std::vector<GEOSGeometry*> holes;
    for (const std::vector<LonLat>& hole : polygon.holes)
        if (GEOSGeometry* ring = makeRing(h, hole)) holes.push_back(ring);
    return GeosPtr(GEOSGeom_createPolygon_r(h, shell, holes.data(), unsigned(holes.size())));
}

GeosPtr geosOfShape(const FieldShape& shape) {
    GEOSContextHandle_t h = farmGeos();
    std::vector<GEOSGeometry*> parts;
    for (const FieldPolygon& polygon : shape)
        if (GeosPtr p = geosOfPolygon(polygon)) parts.push_back(p.release());
    if (parts.empty()) return nullptr;
    return GeosPtr(
        GEOSGeom_createCollection_r(h, GEOS_MULTIPOLYGON, parts.data(), unsigned(parts.size())));
}

FieldShape shapeOfGeos(const GEOSGeometry* g) {
    FieldShape out;
    if (g) collectPolygons(farmGeos(), g, out);
    return out;
}
