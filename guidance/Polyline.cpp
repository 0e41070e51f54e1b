// Nearest point of a polyline: the run holding the hint segment sets a first bound, and every
// run whose box lies farther away than the best distance so far is skipped.
#include "guidance/Polyline.h"

#include <algorithm>
#include <cmath>
#include <limits>

Polyline::Polyline(std::vector<Vec2> points) : points_(std::move(points)) {
    if (points_.size() < 2) return;
    const std::size_t segments = points_.size() - 1;
    for (std::size_t first = 0; first < segments; first += kRun) {
        const std::size_t last = std::min(first + kRun, segments);
        Run r{points_[first].x, points_[first].y, points_[first].x, points_[first].y};
        for (std::size_t i = first + 1; i <= last; ++i) {
            r.minX = std::min(r.minX, points_[i].x);
            r.minY = std::min(r.minY, points_[i].y);
            r.maxX = std::max(r.maxX, points_[i].x);
            r.maxY = std::max(r.maxY, points_[i].y);
        }
        runs_.push_back(r);
    }
    for (std::size_t first = 0; first < runs_.size(); first += kRun) {
        Run g = runs_[first];
        for (std::size_t i = first + 1; i < std::min(first + kRun, runs_.size()); ++i) {
            g.minX = std::min(g.minX, runs_[i].minX);
            g.minY = std::min(g.minY, runs_[i].minY);
            g.maxX = std::max(g.maxX, runs_[i].maxX);
            g.maxY = std::max(g.maxY, runs_[i].maxY);
        }
        groups_.push_back(g);
    }
}

namespace {

double boxDistance2(double minX, double minY, double maxX, double maxY, Vec2 p) {
    const double dx = std::max({minX - p.x, 0.0, p.x - maxX});
    const double dy = std::max({minY - p.y, 0.0, p.y - maxY});
    return dx * dx + dy * dy;
}

}  // namespace

void Polyline::scanRun(std::size_t run, Vec2 p, double& best2, std::size_t& bestSegment,
                       double& bestT) const {
    const std::size_t segments = points_.size() - 1;
    const std::size_t last = std::min((run + 1) * kRun, segments);
    for (std::size_t i = run * kRun; i < last; ++i) {
        const Vec2 a = points_[i];
        const Vec2 v = points_[i + 1] - a;
        const Vec2 w = p - a;
        const double vv = v.x * v.x + v.y * v.y;
        double t = vv > 0.0 ? (w.x * v.x + w.y * v.y) / vv : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        const double dx = w.x - t * v.x;
        const double dy = w.y - t * v.y;
        const double d2 = dx * dx + dy * dy;
        if (d2 < best2) {
            best2 = d2;
            bestSegment = i;
            bestT = t;
        }
    }
}

PolylineFoot Polyline::nearest(Vec2 p, std::size_t hint) const {
    PolylineFoot result;
    if (empty()) return result;
    double best2 = std::numeric_limits<double>::infinity();
    std::size_t segment = 0;
    double t = 0.0;
    const std::size_t hintRun = std::min(hint / kRun, runs_.size() - 1);
    scanRun(hintRun, p, best2, segment, t);
    for (std::size_t g = 0; g < groups_.size(); ++g) {
        const Run& group = groups_[g];
        if (boxDistance2(group.minX, group.minY, group.maxX, group.maxY, p) >= best2) continue;
        const std::size_t last = std::min((g + 1) * kRun, runs_.size());
        for (std::size_t r = g * kRun; r < last; ++r) {
            if (r == hintRun) continue;
            const Run& box = runs_[r];
            if (boxDistance2(box.minX, box.minY, box.maxX, box.maxY, p) >= best2) continue;
            scanRun(r, p, best2, segment, t);
        }
    }
    const Vec2 a = points_[segment];
    const Vec2 v = points_[segment + 1] - a;
    result.segment = segment;
    result.foot = a + t * v;
    result.direction = v;
    result.direction.normalize();
    result.distance = std::sqrt(best2);
    // The cross product of direction and offset is negative on the right.
    const Vec2 w = p - result.foot;
    const double cross = result.direction.x * w.y - result.direction.y * w.x;
    result.signedDistance = cross > 0.0 ? -result.distance : result.distance;
    return result;
}

void Polyline::segmentsNear(Vec2 centre, double reach, std::vector<Vec2>& out) const {
    if (empty()) return;
    const double minX = centre.x - reach, maxX = centre.x + reach;
    const double minY = centre.y - reach, maxY = centre.y + reach;
    const std::size_t segments = points_.size() - 1;
    for (std::size_t r = 0; r < runs_.size(); ++r) {
        const Run& box = runs_[r];
        if (box.maxX < minX || box.minX > maxX || box.maxY < minY || box.minY > maxY) continue;
        const std::size_t last = std::min((r + 1) * kRun, segments);
        for (std::size_t i = r * kRun; i < last; ++i) {
            const Vec2 a = points_[i], b = points_[i + 1];
            if (std::max(a.x, b.x) < minX || std::min(a.x, b.x) > maxX ||
                std::max(a.y, b.y) < minY || std::min(a.y, b.y) > maxY)
                continue;
            out.push_back(a);
            out.push_back(b);
        }
    }
}
