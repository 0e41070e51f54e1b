#include "farm/OgrShape.h"

#include <memory>
#include <utility>

namespace {

OGRLinearRing ringOf(const std::vector<LonLat>& points) {
    OGRLinearRing ring;
    ring.setNumPoints(int(points.size()) + (points.empty() ? 0 : 1), FALSE);
    for (std::size_t i = 0; i < points.size(); ++i)
        ring.setPoint(int(i), points[i].lon, points[i].lat);
    if (!points.empty()) ring.setPoint(int(points.size()), points[0].lon, points[0].lat);
    return ring;
}

void collectPolygons(const OGRGeometry* g, FieldShape& out) {
    if (!g || g->IsEmpty()) return;
    const OGRwkbGeometryType type = wkbFlatten(g->getGeometryType());
    if (type == wkbPolygon) {
        const OGRPolygon* polygon = g->toPolygon();
        FieldPolygon p;
        p.outer = pointsOf(*polygon->getExteriorRing(), true);
        for (int i = 0; i < polygon->getNumInteriorRings(); ++i)
            p.holes.push_back(pointsOf(*polygon->getInteriorRing(i), true));
        out.push_back(std::move(p));
    } else if (type == wkbMultiPolygon || type == wkbGeometryCollection ||
               type == wkbMultiSurface) {
        for (const OGRGeometry* part : *g->toGeometryCollection()) collectPolygons(part, out);
    } else if (type == wkbCurvePolygon) {
        std::unique_ptr<OGRGeometry> linear(g->getLinearGeometry());
        collectPolygons(linear.get(), out);
    }
}

}  // namespace

OGRMultiPolygon multiPolygonOf(const FieldShape& shape) {
    OGRMultiPolygon multi;
    for (const FieldPolygon& polygon : shape) {
        OGRPolygon p;
        OGRLinearRing outer = ringOf(polygon.outer);
        p.addRing(&outer);
        for (const std::vector<LonLat>& hole : polygon.holes) {
            OGRLinearRing inner = ringOf(hole);
            p.addRing(&inner);
        }
        multi.addGeometry(&p);
    }
    return multi;
}

std::vector<LonLat> pointsOf(const OGRSimpleCurve& curve, bool open) {
    std::vector<LonLat> points;
    const int n = curve.getNumPoints();
    points.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i) points.push_back({curve.getX(i), curve.getY(i)});
    if (open && points.size() > 1 && points.front().lon == points.back().lon &&
        points.front().lat == points.back().lat)
        points.pop_back();
    return points;
}

FieldShape shapeOf(const OGRGeometry* geometry) {
    FieldShape out;
    collectPolygons(geometry, out);
    return out;
}
