// GEOS through its reentrant C API: one context per thread, made on first use and finished
// when the thread ends, so the fix thread and the user-interface thread never share one.
#include "guidance/CurveOffset.h"

#include <geos_c.h>

#include <algorithm>
#include <cmath>

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

GEOSContextHandle_t context() {
    thread_local GeosContext ctx;
    return ctx.get();
}

GEOSGeometry* makeLine(GEOSContextHandle_t h, const std::vector<Vec2>& path) {
    GEOSCoordSequence* seq = GEOSCoordSeq_create_r(h, static_cast<unsigned>(path.size()), 2);
    if (!seq) return nullptr;
    for (unsigned i = 0; i < path.size(); ++i)
        GEOSCoordSeq_setXY_r(h, seq, i, path[i].x, path[i].y);
    return GEOSGeom_createLineString_r(h, seq);
}

void appendLine(GEOSContextHandle_t h, const GEOSGeometry* line, std::vector<Vec2>& out) {
    const GEOSCoordSequence* seq = GEOSGeom_getCoordSeq_r(h, line);
    unsigned size = 0;
    if (!seq || !GEOSCoordSeq_getSize_r(h, seq, &size)) return;
    for (unsigned i = 0; i < size; ++i) {
        double x = 0.0, y = 0.0;
        GEOSCoordSeq_getXY_r(h, seq, i, &x, &y);
        if (!out.empty() && out.back().x == x && out.back().y == y) continue;
        out.push_back({x, y});
    }
}

// The points of a line or of the parts of a multi-line, in order.
std::vector<Vec2> pointsOf(GEOSContextHandle_t h, const GEOSGeometry* g) {
    std::vector<Vec2> out;
    if (!g) return out;
    const int type = GEOSGeomTypeId_r(h, g);
    if (type == GEOS_LINESTRING) {
        appendLine(h, g, out);
    } else if (type == GEOS_MULTILINESTRING || type == GEOS_GEOMETRYCOLLECTION) {
        const int n = GEOSGetNumGeometries_r(h, g);
        for (int i = 0; i < n; ++i) {
            const GEOSGeometry* part = GEOSGetGeometryN_r(h, g, i);
            if (GEOSGeomTypeId_r(h, part) == GEOS_LINESTRING) appendLine(h, part, out);
        }
    }
    return out;
}

double distance2(Vec2 a, Vec2 b) {
    const Vec2 d = a - b;
    return d.x * d.x + d.y * d.y;
}

}  // namespace

std::vector<Vec2> thinPath(const std::vector<Vec2>& path, double tolerance) {
    if (path.size() < 3) return path;
    GEOSContextHandle_t h = context();
    GEOSGeometry* line = makeLine(h, path);
    GEOSGeometry* thin = line ? GEOSTopologyPreserveSimplify_r(h, line, tolerance) : nullptr;
    std::vector<Vec2> out = thin ? pointsOf(h, thin) : path;
    if (thin) GEOSGeom_destroy_r(h, thin);
    if (line) GEOSGeom_destroy_r(h, line);
    if (out.size() < 2) return path;
    return out;
}

std::vector<Vec2> offsetPath(const std::vector<Vec2>& path, double distance) {
    if (path.size() < 2 || distance == 0.0) return path;
    GEOSContextHandle_t h = context();
    GEOSGeometry* line = makeLine(h, path);
    if (!line) return {};
    // The parallel is one side of the buffer's outline: the outline has no loops, so neither
    // has the parallel on the inside of a bend tighter than the distance. Flat ends make the
    // outline's corners exactly the parallel's ends; the arcs of the joins sag at most 2 mm.
    const double d = std::fabs(distance);
    const int quadrantSegments =
        std::clamp(static_cast<int>(std::ceil(0.7854 * std::sqrt(d / 0.02))), 8, 1024);
    GEOSBufferParams* params = GEOSBufferParams_create_r(h);
    GEOSBufferParams_setEndCapStyle_r(h, params, GEOSBUF_CAP_FLAT);
    GEOSBufferParams_setJoinStyle_r(h, params, GEOSBUF_JOIN_ROUND);
    GEOSBufferParams_setQuadrantSegments_r(h, params, quadrantSegments);
    GEOSGeometry* buffer = GEOSBufferWithParams_r(h, line, params, d);
    GEOSBufferParams_destroy_r(h, params);
    GEOSGeom_destroy_r(h, line);
    std::vector<Vec2> ring;
    if (buffer && GEOSGeomTypeId_r(h, buffer) == GEOS_POLYGON)
        appendLine(h, GEOSGetExteriorRing_r(h, buffer), ring);
    if (buffer) GEOSGeom_destroy_r(h, buffer);
    if (ring.size() < 4) return {};
    if (ring.front().x == ring.back().x && ring.front().y == ring.back().y) ring.pop_back();

    // The parallel's ends: the path's ends moved the distance to the chosen side.
    auto sideOf = [&](Vec2 at, Vec2 from, Vec2 towards, double sign) {
        Vec2 dir = towards - from;
        dir.normalize();
        return at + (sign * d) * Vec2{dir.y, -dir.x};
    };
    const std::size_t n = path.size();
    const double right = distance > 0.0 ? 1.0 : -1.0;
    const Vec2 first = sideOf(path[0], path[0], path[1], right);
    const Vec2 last = sideOf(path[n - 1], path[n - 2], path[n - 1], right);
    const Vec2 otherFirst = sideOf(path[0], path[0], path[1], -right);
    auto nearestIndex = [&](Vec2 p) {
        std::size_t best = 0;
        for (std::size_t i = 1; i < ring.size(); ++i)
            if (distance2(ring[i], p) < distance2(ring[best], p)) best = i;
        return best;
    };
    const std::size_t from = nearestIndex(first), to = nearestIndex(last),
                      avoid = nearestIndex(otherFirst);
    // Walk the outline from the first end to the last the way that misses the other side.
    const std::size_t m = ring.size();
    auto walk = [&](int step, bool& clean) {
        std::vector<Vec2> out;
        clean = true;
        for (std::size_t i = from;; i = (i + m + step) % m) {
            out.push_back(ring[i]);
            if (i == avoid) clean = false;
            if (i == to || out.size() > m) break;
        }
        return out;
    };
    bool clean = false;
    std::vector<Vec2> out = walk(1, clean);
    if (!clean) out = walk(-1, clean);
    return out;
}
