// A work's ground between its plane and the book. The union is GEOS's: the quads of a strip
// overlap their neighbours and the strip before, and only an exact union gives the ground once.
#include "farm/WorkGround.h"

#include <ogr_spatialref.h>

#include <cmath>
#include <utility>

#include "farm/FarmGeos.h"
#include "guidance/Projection.h"

namespace {

// Triangles united at a time: a batch is a stretch of strip, whose union is small, and the
// batches' unions are then united once. A million triangles at once would take minutes.
constexpr std::size_t kBatch = 1024;
// Below this (dm^2) a triangle is a quad's folded or degenerate half: it covers no ground.
constexpr double kNoTriangle = 1e-6;
// The union's points on a straight strip edge are many; dropping those within a centimetre of
// the line through their neighbours changes no ground that anyone can measure.
constexpr double kSimplifyDm = 0.1;

// The work's own plane, opened on this thread: GDAL's transformations are not shared.
class PlaneTransforms {
  public:
    explicit PlaneTransforms(const WorkPlane& plane) : plane_(plane) {
        if (!plane.originSet) return;
        WorkPlane copy = plane;
        if (!setUpProjection(transforms_) ||
            !setOrigin(transforms_, copy, plane.originLonLat[0], plane.originLonLat[1]))
            return;
        openInverseProjection(transforms_);
        ok_ = transforms_.inverseTransform != nullptr;
    }
    ~PlaneTransforms() {
        closeInverseProjection(transforms_);
        releaseProjection(transforms_);
    }
    PlaneTransforms(const PlaneTransforms&) = delete;
    PlaneTransforms& operator=(const PlaneTransforms&) = delete;
    bool ok() const { return ok_; }

    // Degrees to plane decimetres (toPlane) or back, in place.
    bool toPlane(std::vector<LonLat>& ring) const {
        if (!transformRing(transforms_.forwardTransform, ring)) return false;
        for (LonLat& p : ring) p = {p.lon * 10.0 - plane_.originX, p.lat * 10.0 - plane_.originY};
        return true;
    }
    bool toDegrees(std::vector<LonLat>& ring) const {
        for (LonLat& p : ring) p = {(p.lon + plane_.originX) * 0.1, (p.lat + plane_.originY) * 0.1};
        return transformRing(transforms_.inverseTransform, ring);
    }
    bool toPlane(FieldShape& shape) const { return eachRing(shape, &PlaneTransforms::toPlaneRing); }
    bool toDegrees(FieldShape& shape) const {
        return eachRing(shape, &PlaneTransforms::toDegreesRing);
    }

  private:
    bool toPlaneRing(std::vector<LonLat>& ring) const { return toPlane(ring); }
    bool toDegreesRing(std::vector<LonLat>& ring) const { return toDegrees(ring); }
    bool eachRing(FieldShape& shape, bool (PlaneTransforms::*f)(std::vector<LonLat>&) const) const {
        for (FieldPolygon& polygon : shape) {
            if (!(this->*f)(polygon.outer)) return false;
            for (std::vector<LonLat>& hole : polygon.holes)
                if (!(this->*f)(hole)) return false;
        }
        return true;
    }
    static bool transformRing(OGRCoordinateTransformation* transform, std::vector<LonLat>& ring) {
        if (!transform) return false;
        if (ring.empty()) return true;
        std::vector<double> xs(ring.size()), ys(ring.size());
        for (std::size_t i = 0; i < ring.size(); ++i) {
            xs[i] = ring[i].lon;
            ys[i] = ring[i].lat;
        }
        if (!transform->Transform(int(ring.size()), xs.data(), ys.data())) return false;
        for (std::size_t i = 0; i < ring.size(); ++i) {
            if (!std::isfinite(xs[i]) || !std::isfinite(ys[i])) return false;
            ring[i] = {xs[i], ys[i]};
        }
        return true;
    }

    WorkPlane plane_;
    ProjectionTransforms transforms_;
    bool ok_ = false;
};

GEOSGeometry* triangle(GEOSContextHandle_t h, GroundPoint a, GroundPoint b, GroundPoint c) {
    const double twice = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    if (!(std::fabs(twice) * 0.5 > kNoTriangle)) return nullptr;
    GEOSCoordSequence* seq = GEOSCoordSeq_create_r(h, 4, 2);
    if (!seq) return nullptr;
    const GroundPoint corners[4] = {a, b, c, a};
    for (unsigned i = 0; i < 4; ++i) GEOSCoordSeq_setXY_r(h, seq, i, corners[i].x, corners[i].y);
    GEOSGeometry* ring = GEOSGeom_createLinearRing_r(h, seq);
    return ring ? GEOSGeom_createPolygon_r(h, ring, nullptr, 0) : nullptr;
}

// The union of the parts, which it takes over. Floating noise where strips meet can make GEOS's
// exact overlay give up; a millimetre grid then settles it.
GeosPtr unionOf(std::vector<GEOSGeometry*>& parts) {
    GEOSContextHandle_t h = farmGeos();
    if (parts.empty()) return nullptr;
    GeosPtr collection(GEOSGeom_createCollection_r(h, GEOS_GEOMETRYCOLLECTION, parts.data(),
                                                   unsigned(parts.size())));
    parts.clear();
    if (!collection) return nullptr;
    GeosPtr united(GEOSUnaryUnion_r(h, collection.get()));
    if (!united) united.reset(GEOSUnaryUnionPrec_r(h, collection.get(), 0.01));
    return united;
}

FieldShape shapeInPlane(const FieldShape& shape, const PlaneTransforms& plane) {
    FieldShape inPlane = shape;
    if (!plane.ok() || !plane.toPlane(inPlane)) return {};
    return inPlane;
}

GroundPoint groundPoint(const LonLat& p) {
    return {p.lon, p.lat};
}

}  // namespace

FieldShape groundOfQuads(const std::vector<StripQuad>& quads, const WorkPlane& plane) {
    const PlaneTransforms transforms(plane);
    if (!transforms.ok()) return {};
    GEOSContextHandle_t h = farmGeos();
    std::vector<GEOSGeometry*> triangles, batches;
    auto closeBatch = [&] {
        if (GeosPtr united = unionOf(triangles)) batches.push_back(united.release());
    };
    for (const StripQuad& q : quads) {
        // The two triangles the worked area is counted from: a quad folded on a tight turn is
        // no simple 4-gon, but its triangles are still what the implement went over.
        if (GEOSGeometry* t = triangle(h, q.olderLeft, q.olderRight, q.newerLeft))
            triangles.push_back(t);
        if (GEOSGeometry* t = triangle(h, q.olderRight, q.newerLeft, q.newerRight))
            triangles.push_back(t);
        if (triangles.size() >= kBatch) closeBatch();
    }
    closeBatch();
    GeosPtr ground = unionOf(batches);
    if (!ground) return {};
    GeosPtr simple(GEOSTopologyPreserveSimplify_r(h, ground.get(), kSimplifyDm));
    FieldShape shape = shapeOfGeos(simple ? simple.get() : ground.get());
    if (!transforms.toDegrees(shape)) return {};
    return shape;
}

std::vector<StripQuad> trianglesInPlane(const FieldShape& shape, const WorkPlane& plane) {
    std::vector<StripQuad> out;
    const PlaneTransforms transforms(plane);
    const FieldShape inPlane = shapeInPlane(shape, transforms);
    GEOSContextHandle_t h = farmGeos();
    for (const FieldPolygon& polygon : inPlane) {
        GeosPtr g = geosOfPolygon(polygon);
        if (!g) continue;
        GeosPtr cut(GEOSConstrainedDelaunayTriangulation_r(h, g.get()));
        if (!cut) {
            // A ring that touches itself: triangulate what make-valid makes of it.
            GeosPtr valid(GEOSMakeValid_r(h, g.get()));
            if (valid) cut.reset(GEOSConstrainedDelaunayTriangulation_r(h, valid.get()));
        }
        if (!cut) continue;
        for (const FieldPolygon& t : shapeOfGeos(cut.get())) {
            if (t.outer.size() != 3) continue;
            const GroundPoint c = groundPoint(t.outer[2]);
            out.push_back({groundPoint(t.outer[0]), groundPoint(t.outer[1]), c, c});
        }
    }
    return out;
}

std::vector<std::vector<GroundPoint>> ringsInPlane(const FieldShape& shape,
                                                   const WorkPlane& plane) {
    std::vector<std::vector<GroundPoint>> rings;
    const PlaneTransforms transforms(plane);
    auto add = [&](const std::vector<LonLat>& ring) {
        std::vector<GroundPoint> points;
        points.reserve(ring.size());
        for (const LonLat& p : ring) points.push_back(groundPoint(p));
        rings.push_back(std::move(points));
    };
    for (const FieldPolygon& polygon : shapeInPlane(shape, transforms)) {
        add(polygon.outer);
        for (const std::vector<LonLat>& hole : polygon.holes) add(hole);
    }
    return rings;
}
