// The nearest parallel is found from the signed distance to line 0: line n0 = distance /
// spacing, rounded, then n0 and its two neighbours are measured and the nearest one wins. On
// the inside of a tight bend the parallels are cut short, so the neighbours decide there.
#include "guidance/CurveLines.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "guidance/CurveOffset.h"
#include "guidance/LineReach.h"

namespace {

// The cache holds the followed line, its neighbours and a few recently left behind.
constexpr std::size_t kCacheSize = 7;
// The end directions are taken over at least this length (dm), so a last short wobble of the
// path does not turn the extensions.
constexpr double kEndBase = 30.0;

double dot(Vec2 a, Vec2 b) {
    return a.x * b.x + a.y * b.y;
}

// The point at arc length s back along the path from one of its ends.
Vec2 pointBack(const std::vector<Vec2>& path, bool fromEnd, double s) {
    const std::size_t n = path.size();
    auto at = [&](std::size_t k) { return fromEnd ? path[n - 1 - k] : path[k]; };
    for (std::size_t k = 0; k + 1 < n; ++k) {
        const Vec2 a = at(k), b = at(k + 1);
        const double len = (b - a).length();
        if (len >= s && len > 0.0) return a + (s / len) * (b - a);
        s -= len;
    }
    return at(n - 1);
}

double pathLength(const std::vector<Vec2>& path) {
    double length = 0.0;
    for (std::size_t k = 0; k + 1 < path.size(); ++k) length += (path[k + 1] - path[k]).length();
    return length;
}

// The path's direction at one end, outward at A and onward at B: the second-order difference
// of three points over the last few metres, exact for a parabola and within a hair of a
// circle's tangent, and steady against a receiver's centimetre jitter.
Vec2 endDirection(const std::vector<Vec2>& path, bool atEnd) {
    const double base = std::min(kEndBase, pathLength(path));
    const Vec2 p0 = pointBack(path, atEnd, 0.0);
    const Vec2 p1 = pointBack(path, atEnd, base / 2);
    const Vec2 p2 = pointBack(path, atEnd, base);
    // Pointing out of the path at this end.
    Vec2 d = 3.0 * p0 - 4.0 * p1 + p2;
    if (d.length() == 0.0) d = p0 - p2;
    d.normalize();
    return d;
}

}  // namespace

bool setCurvePath(CurveGuidance& curve, std::vector<Vec2> path, double spacing) {
    path.erase(std::unique(path.begin(), path.end(),
                           [](Vec2 a, Vec2 b) { return a.x == b.x && a.y == b.y; }),
               path.end());
    if (path.size() < 2) return false;
    const Vec2 before = endDirection(path, false);
    const Vec2 beyond = endDirection(path, true);
    std::vector<Vec2> extended;
    extended.reserve(path.size() + 2);
    extended.push_back(path.front() + kCurveExtension * before);
    extended.insert(extended.end(), path.begin(), path.end());
    extended.push_back(path.back() + kCurveExtension * beyond);
    curve.path = std::move(path);
    curve.reference = Polyline(std::move(extended));
    curve.spacing = spacing;
    curve.currentLine = 0;
    curve.referenceHint = 0;
    curve.cache.clear();
    return true;
}

bool setCurveLine(CurveGuidance& curve, const std::vector<Vec2>& driven, double spacing) {
    return setCurvePath(curve, thinPath(driven, kCurveThinning), spacing);
}

CurveParallel& curveParallel(CurveGuidance& curve, std::int32_t number) {
    for (CurveParallel& p : curve.cache)
        if (p.number == number) return p;
    if (curve.cache.size() >= kCacheSize) {
        // The line farthest from the followed one goes.
        auto far = std::max_element(curve.cache.begin(), curve.cache.end(),
                                    [&](const CurveParallel& a, const CurveParallel& b) {
                                        return std::abs(a.number - curve.currentLine) <
                                               std::abs(b.number - curve.currentLine);
                                    });
        curve.cache.erase(far);
    }
    CurveParallel p;
    p.number = number;
    // Beyond the reach no parallel is made: it stays empty, and so is never followed.
    if (std::abs(number) <= farthestParallel(curve.spacing))
        p.line =
            Polyline(number == 0 ? curve.reference.points()
                                 : offsetPath(curve.reference.points(), number * curve.spacing));
    curve.cache.push_back(std::move(p));
    return curve.cache.back();
}

CurveFollow followNearestCurve(CurveGuidance& curve, Vec2 point, Vec2 travel) {
    CurveFollow result;
    if (curve.reference.empty() || !(curve.spacing > 0.0)) return result;
    const PolylineFoot ref = curve.reference.nearest(point, curve.referenceHint);
    curve.referenceHint = ref.segment;
    const double ratio = std::clamp(ref.signedDistance / curve.spacing, -1e6, 1e6);
    const std::int32_t n0 = static_cast<std::int32_t>(std::lround(ratio));

    // The followed line stays while no candidate is strictly nearer.
    std::int32_t best = curve.currentLine;
    PolylineFoot bestFoot;
    bool haveBest = false;
    if (std::abs(best - n0) <= 1) {
        CurveParallel& p = curveParallel(curve, best);
        if (!p.line.empty()) {
            bestFoot = p.line.nearest(point, p.hint);
            p.hint = bestFoot.segment;
            haveBest = true;
        }
    }
    for (std::int32_t n : {n0, n0 - 1, n0 + 1}) {
        if (haveBest && n == best) continue;
        CurveParallel& p = curveParallel(curve, n);
        if (p.line.empty()) continue;
        const PolylineFoot f = p.line.nearest(point, p.hint);
        p.hint = f.segment;
        if (!haveBest || f.distance < bestFoot.distance) {
            best = n;
            bestFoot = f;
            haveBest = true;
        }
    }
    if (!haveBest) return result;
    curve.currentLine = best;
    result.number = best;
    result.foot = bestFoot.foot;
    // Seen in the vehicle's own direction of travel; travelling exactly across counts as
    // travelling toward A, as on straight lines.
    const double side = bestFoot.signedDistance;
    result.crossTrack = dot(bestFoot.direction, travel) > 0.0 ? side : -side;
    if (bestFoot.distance == 0.0) result.crossTrack = 0.0;
    return result;
}
