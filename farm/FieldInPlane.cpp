#include "farm/FieldInPlane.h"

#include <algorithm>
#include <cmath>

namespace {

PlaneRing ringOf(std::vector<GroundPoint> points) {
    PlaneRing ring;
    ring.points = std::move(points);
    if (ring.points.empty()) return ring;
    ring.box = {ring.points[0].x, ring.points[0].y, ring.points[0].x, ring.points[0].y};
    for (const GroundPoint& p : ring.points) {
        ring.box.minX = std::min(ring.box.minX, p.x);
        ring.box.minY = std::min(ring.box.minY, p.y);
        ring.box.maxX = std::max(ring.box.maxX, p.x);
        ring.box.maxY = std::max(ring.box.maxY, p.y);
    }
    return ring;
}

bool insideRing(const PlaneRing& ring, GroundPoint p) {
    if (p.x < ring.box.minX || p.x > ring.box.maxX || p.y < ring.box.minY || p.y > ring.box.maxY)
        return false;
    bool inside = false;
    const std::vector<GroundPoint>& q = ring.points;
    for (std::size_t i = 0, j = q.size() - 1; i < q.size(); j = i++) {
        if ((q[i].y > p.y) != (q[j].y > p.y) &&
            p.x < (q[j].x - q[i].x) * (p.y - q[i].y) / (q[j].y - q[i].y) + q[i].x)
            inside = !inside;
    }
    return inside;
}

bool insideRings(const std::vector<PlaneRing>& rings, GroundPoint p) {
    bool inside = false;
    for (const PlaneRing& ring : rings)
        if (insideRing(ring, p)) inside = !inside;
    return inside;
}

double cross(GroundPoint o, GroundPoint a, GroundPoint b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

bool segmentsMeet(GroundPoint a, GroundPoint b, GroundPoint c, GroundPoint d) {
    const double d1 = cross(c, d, a), d2 = cross(c, d, b);
    const double d3 = cross(a, b, c), d4 = cross(a, b, d);
    return ((d1 > 0) != (d2 > 0)) && ((d3 > 0) != (d4 > 0));
}

double ringArea(const std::vector<GroundPoint>& q) {
    double twice = 0.0;
    for (std::size_t i = 0, j = q.size() - 1; i < q.size(); j = i++)
        twice += q[j].x * q[i].y - q[i].x * q[j].y;
    return twice / 2.0;
}

}  // namespace

FieldInPlane fieldInPlane(std::vector<std::vector<GroundPoint>> boundary,
                          std::vector<std::vector<GroundPoint>> headland) {
    FieldInPlane field;
    for (std::vector<GroundPoint>& points : boundary) {
        if (points.size() < 3) continue;
        PlaneRing ring = ringOf(std::move(points));
        if (field.boundary.empty()) field.box = ring.box;
        field.box.minX = std::min(field.box.minX, ring.box.minX);
        field.box.minY = std::min(field.box.minY, ring.box.minY);
        field.box.maxX = std::max(field.box.maxX, ring.box.maxX);
        field.box.maxY = std::max(field.box.maxY, ring.box.maxY);
        field.boundary.push_back(std::move(ring));
    }
    // A ring inside an odd number of the others is a hole: its ground is not the field's.
    for (std::size_t i = 0; i < field.boundary.size(); ++i) {
        int around = 0;
        for (std::size_t j = 0; j < field.boundary.size(); ++j)
            if (j != i && insideRing(field.boundary[j], field.boundary[i].points[0])) ++around;
        field.areaDm2 += std::fabs(ringArea(field.boundary[i].points)) * (around % 2 ? -1.0 : 1.0);
    }
    for (std::vector<GroundPoint>& points : headland)
        if (points.size() >= 3) field.headland.push_back(ringOf(std::move(points)));
    return field;
}

bool FieldInPlane::contains(GroundPoint p) const {
    return insideRings(boundary, p);
}

bool FieldInPlane::inHeadland(GroundPoint p) const {
    return contains(p) && !insideRings(headland, p);
}

bool FieldInPlane::pathCrossesBoundary(GroundPoint left, GroundPoint right,
                                       GroundPoint travel) const {
    const GroundPoint leftAhead{left.x + travel.x, left.y + travel.y};
    const GroundPoint rightAhead{right.x + travel.x, right.y + travel.y};
    const GroundBox swept{std::min({left.x, right.x, leftAhead.x, rightAhead.x}),
                          std::min({left.y, right.y, leftAhead.y, rightAhead.y}),
                          std::max({left.x, right.x, leftAhead.x, rightAhead.x}),
                          std::max({left.y, right.y, leftAhead.y, rightAhead.y})};
    const GroundPoint edges[3][2] = {
        {left, leftAhead}, {right, rightAhead}, {leftAhead, rightAhead}};
    for (const PlaneRing& ring : boundary) {
        if (!ring.box.meets(swept)) continue;
        const std::vector<GroundPoint>& q = ring.points;
        for (std::size_t i = 0, j = q.size() - 1; i < q.size(); j = i++) {
            if (std::max(q[i].x, q[j].x) < swept.minX || std::min(q[i].x, q[j].x) > swept.maxX ||
                std::max(q[i].y, q[j].y) < swept.minY || std::min(q[i].y, q[j].y) > swept.maxY)
                continue;
            for (const auto& edge : edges)
                if (segmentsMeet(edge[0], edge[1], q[j], q[i])) return true;
        }
    }
    return false;
}

double FieldInPlane::shareInside(const StripQuad& quad) const {
    const GroundPoint corners[4] = {quad.olderLeft, quad.olderRight, quad.newerLeft,
                                    quad.newerRight};
    int in = 0;
    for (const GroundPoint& c : corners) in += contains(c) ? 1 : 0;
    // A quad wholly on one side, as nearly all are, is answered by its corners; only a quad
    // across the boundary is sampled, at points spread evenly over its two triangles.
    if (in == 4 && !pathCrossesBoundary(
                       quad.olderLeft, quad.olderRight,
                       {quad.newerLeft.x - quad.olderLeft.x, quad.newerLeft.y - quad.olderLeft.y}))
        return 1.0;
    if (in == 0 && !box.meets(boxOf(quad))) return 0.0;
    constexpr int kSteps = 8;
    int inside = 0, all = 0;
    const GroundPoint triangles[2][3] = {{quad.olderLeft, quad.olderRight, quad.newerLeft},
                                         {quad.olderRight, quad.newerLeft, quad.newerRight}};
    for (const auto& t : triangles) {
        for (int i = 0; i < kSteps; ++i)
            for (int j = 0; i + j < kSteps; ++j) {
                const double u = (i + 1.0 / 3.0) / kSteps, v = (j + 1.0 / 3.0) / kSteps;
                const GroundPoint p{t[0].x + u * (t[1].x - t[0].x) + v * (t[2].x - t[0].x),
                                    t[0].y + u * (t[1].y - t[0].y) + v * (t[2].y - t[0].y)};
                inside += contains(p) ? 1 : 0;
                ++all;
            }
    }
    return double(inside) / all;
}
