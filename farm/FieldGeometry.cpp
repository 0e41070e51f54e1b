// A field's shape through GEOS. Make-valid works on the degrees themselves (a projection moves no
// crossing from one side of a line to the other); areas, the headland and distances are taken in
// the UTM zone of the shape's first point, where a metre is a metre in every direction.
#include "farm/FieldGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "farm/FarmGeos.h"
#include "farm/ShapeProjection.h"

namespace {

// A piece of a square centimetre is what make-valid leaves of a ring that doubles back on
// itself, not ground.
constexpr double kNoAreaM2 = 1e-4;

double ringArea(const std::vector<LonLat>& ring) {
    double twice = 0.0;
    for (std::size_t i = 0, n = ring.size(); i < n; ++i) {
        const LonLat& p = ring[i];
        const LonLat& q = ring[(i + 1) % n];
        twice += p.lon * q.lat - q.lon * p.lat;
    }
    return std::fabs(twice) * 0.5;
}

// Square metres of one polygon already in metres.
double polygonArea(const FieldPolygon& polygon) {
    double area = ringArea(polygon.outer);
    for (const std::vector<LonLat>& hole : polygon.holes) area -= ringArea(hole);
    return std::max(area, 0.0);
}

bool insideRing(const std::vector<LonLat>& ring, LonLat p) {
    bool inside = false;
    for (std::size_t i = 0, n = ring.size(), j = n - 1; i < n; j = i++) {
        const LonLat& a = ring[i];
        const LonLat& b = ring[j];
        if ((a.lat > p.lat) != (b.lat > p.lat) &&
            p.lon < (b.lon - a.lon) * (p.lat - a.lat) / (b.lat - a.lat) + a.lon)
            inside = !inside;
    }
    return inside;
}

double squaredDistanceToRing(const std::vector<LonLat>& ring, LonLat p) {
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0, n = ring.size(); i < n; ++i) {
        const LonLat& a = ring[i];
        const LonLat& b = ring[(i + 1) % n];
        const double dx = b.lon - a.lon, dy = b.lat - a.lat;
        const double length2 = dx * dx + dy * dy;
        double t = length2 > 0.0 ? ((p.lon - a.lon) * dx + (p.lat - a.lat) * dy) / length2 : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        const double ex = a.lon + t * dx - p.lon, ey = a.lat + t * dy - p.lat;
        best = std::min(best, ex * ex + ey * ey);
    }
    return best;
}

}  // namespace

bool makeFieldValid(const FieldShape& in, FieldShape& out, std::string& error) {
    out.clear();
    GEOSContextHandle_t h = farmGeos();
    GeosPtr shape = geosOfShape(in);
    if (!shape) {
        error = "the boundary has no ring of three distinct points";
        return false;
    }
    // The structure method keeps every piece a ring encloses: a boundary driven as a figure of
    // eight is two pieces of field, not one piece and a hole.
    GEOSMakeValidParams* params = GEOSMakeValidParams_create_r(h);
    GEOSMakeValidParams_setMethod_r(h, params, GEOS_MAKE_VALID_STRUCTURE);
    GEOSMakeValidParams_setKeepCollapsed_r(h, params, 0);
    GeosPtr valid(GEOSMakeValidWithParams_r(h, shape.get(), params));
    GEOSMakeValidParams_destroy_r(h, params);
    if (!valid) {
        error = "GEOS could not make the boundary valid";
        return false;
    }
    FieldShape pieces = shapeOfGeos(valid.get());
    ShapeProjection projection = projectionOfShape(pieces);
    for (FieldPolygon& piece : pieces) {
        FieldShape metres{piece};
        if (projection.ok() && projection.toMetres(metres) && polygonArea(metres[0]) < kNoAreaM2)
            continue;
        out.push_back(std::move(piece));
    }
    if (out.empty()) {
        error = "the boundary encloses no ground";
        return false;
    }
    return true;
}

bool fieldShapeIsValid(const FieldShape& shape) {
    GeosPtr g = geosOfShape(shape);
    return g && GEOSisValid_r(farmGeos(), g.get()) == 1;
}

double fieldAreaM2(const FieldShape& shape) {
    FieldShape metres = shape;
    if (!projectionOfShape(shape).toMetres(metres)) return 0.0;
    double area = 0.0;
    for (const FieldPolygon& polygon : metres) area += polygonArea(polygon);
    return area;
}

FieldShape headlandLine(const FieldShape& boundary, double widthM) {
    if (!(widthM > 0.0)) return boundary;
    const ShapeProjection projection = projectionOfShape(boundary);
    FieldShape metres = boundary;
    if (!projection.toMetres(metres)) return {};
    GEOSContextHandle_t h = farmGeos();
    GeosPtr shape = geosOfShape(metres);
    if (!shape) return {};
    // Round joins, eight segments a quarter circle: the inner line keeps the boundary's corners
    // where the field turns outward and rounds them by the headland's width where it turns in.
    GEOSBufferParams* params = GEOSBufferParams_create_r(h);
    GEOSBufferParams_setEndCapStyle_r(h, params, GEOSBUF_CAP_ROUND);
    GEOSBufferParams_setJoinStyle_r(h, params, GEOSBUF_JOIN_ROUND);
    GEOSBufferParams_setQuadrantSegments_r(h, params, 8);
    GeosPtr inner(GEOSBufferWithParams_r(h, shape.get(), params, -widthM));
    GEOSBufferParams_destroy_r(h, params);
    if (!inner) return {};
    FieldShape line = shapeOfGeos(inner.get());
    if (!projection.toDegrees(line)) return {};
    return line;
}

double distanceToFieldM(const FieldShape& shape, LonLat point) {
    const ShapeProjection projection = projectionOfShape(shape);
    FieldShape metres = shape;
    if (!projection.toMetres(metres) || !projection.toMetres(point))
        return std::numeric_limits<double>::infinity();
    double best = std::numeric_limits<double>::infinity();
    for (const FieldPolygon& polygon : metres) {
        bool inside = insideRing(polygon.outer, point);
        for (const std::vector<LonLat>& hole : polygon.holes)
            if (inside && insideRing(hole, point)) inside = false;
        if (inside) return 0.0;
        best = std::min(best, squaredDistanceToRing(polygon.outer, point));
        for (const std::vector<LonLat>& hole : polygon.holes)
            best = std::min(best, squaredDistanceToRing(hole, point));
    }
    return std::sqrt(best);
}
