// The simplified strips of far views: every corner of every worked quad lies within the level's
// tolerance of the quads the level draws, and a straight pass costs a level a handful of quads.
#include "coverage/StripLevels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

double segmentDistance(GroundPoint p, GroundPoint a, GroundPoint b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

double triangleDistance(GroundPoint p, GroundPoint a, GroundPoint b, GroundPoint c) {
    auto side = [](GroundPoint u, GroundPoint v, GroundPoint q) {
        return (v.x - u.x) * (q.y - u.y) - (v.y - u.y) * (q.x - u.x);
    };
    const double s0 = side(a, b, p), s1 = side(b, c, p), s2 = side(c, a, p);
    if ((s0 >= 0 && s1 >= 0 && s2 >= 0) || (s0 <= 0 && s1 <= 0 && s2 <= 0)) return 0.0;
    return std::min({segmentDistance(p, a, b), segmentDistance(p, b, c), segmentDistance(p, c, a)});
}

double distanceToQuads(GroundPoint p, const std::vector<StripQuad>& quads) {
    double best = 1e300;
    for (const StripQuad& q : quads) {
        best = std::min(best, triangleDistance(p, q.olderLeft, q.olderRight, q.newerLeft));
        best = std::min(best, triangleDistance(p, q.olderRight, q.newerLeft, q.newerRight));
        if (best == 0.0) break;
    }
    return best;
}

// Passes 3 km long joined by half circles, then a full circle apart from them: the strip 120 dm
// wide, a record every 5 dm.
std::vector<StripQuad> driveQuads() {
    std::vector<GroundPoint> path;
    const double length = 30000.0, spacing = 120.0;
    for (int pass = 0; pass < 3; ++pass) {
        const double x = pass * spacing;
        const bool up = pass % 2 == 0;
        for (double s = 0; s < length; s += 5.0) path.push_back({x, up ? s : length - s});
        const double cy = up ? length : 0.0;
        for (double a = 0; a < M_PI; a += 5.0 / (spacing / 2)) {
            const double ang = up ? M_PI - a : M_PI + a;
            path.push_back({x + spacing / 2 + std::cos(ang) * spacing / 2,
                            cy + (up ? 1 : -1) * std::fabs(std::sin(ang)) * spacing / 2});
        }
    }
    std::vector<StripQuad> quads;
    auto edges = [](GroundPoint from, GroundPoint to) {
        const double len = std::hypot(to.x - from.x, to.y - from.y);
        const double ux = (to.x - from.x) / len, uy = (to.y - from.y) / len;
        return std::pair<GroundPoint, GroundPoint>{{to.x - 60 * uy, to.y + 60 * ux},
                                                   {to.x + 60 * uy, to.y - 60 * ux}};
    };
    auto addPath = [&](const std::vector<GroundPoint>& points) {
        for (std::size_t i = 2; i < points.size(); ++i) {
            const auto older = edges(points[i - 2], points[i - 1]);
            const auto newer = edges(points[i - 1], points[i]);
            quads.push_back({older.first, older.second, newer.first, newer.second});
        }
    };
    addPath(path);
    std::vector<GroundPoint> circle;
    for (double a = 0; a < 2 * M_PI; a += 5.0 / 400.0)
        circle.push_back({5000.0 + 400.0 * std::cos(a), 5000.0 + 400.0 * std::sin(a)});
    addPath(circle);
    return quads;
}

TEST(StripLevels, EveryLevelStaysWithinItsToleranceOfTheStrip) {
    const std::vector<StripQuad> quads = driveQuads();
    StripLevels levels;
    for (const StripQuad& q : quads) levels.add(q);
    for (int level = 1; level <= 10; ++level) {
        std::vector<StripQuad> drawn;
        levels.forEachQuad(level, [&](const StripQuad& q) { drawn.push_back(q); });
        ASSERT_FALSE(drawn.empty()) << level;
        double worst = 0.0;
        for (std::size_t i = 0; i < quads.size(); i += 7) {
            for (GroundPoint p : {quads[i].newerLeft, quads[i].newerRight})
                worst = std::max(worst, distanceToQuads(p, drawn));
        }
        EXPECT_LE(worst, StripLevels::tolerance(level) + 1e-6) << "level " << level;
        // Two segments: the passes with their turns, and the circle.
        EXPECT_LT(drawn.size(), quads.size() / 4) << level;
    }
    // Far out, a 3 km pass is a few quads: the level stands for what a view can show.
    std::size_t farQuads = 0;
    levels.forEachQuad(10, [&](const StripQuad&) { ++farQuads; });
    EXPECT_LT(farQuads, 60u);
}

TEST(StripLevels, SegmentsAreNotJoined) {
    // Two straight pieces with a gap between them: no level draws a quad over the gap.
    StripLevels levels;
    for (int k = 0; k < 100; ++k)
        levels.add({{-60, k * 5.0}, {60, k * 5.0}, {-60, k * 5.0 + 5}, {60, k * 5.0 + 5}});
    for (int k = 200; k < 300; ++k)
        levels.add({{-60, k * 5.0}, {60, k * 5.0}, {-60, k * 5.0 + 5}, {60, k * 5.0 + 5}});
    for (int level = 1; level <= StripLevels::kLevels; ++level) {
        levels.forEachQuad(level, [&](const StripQuad& q) {
            const double low = std::min(q.olderLeft.y, q.newerLeft.y);
            const double high = std::max(q.olderLeft.y, q.newerLeft.y);
            EXPECT_FALSE(low < 900.0 && high > 600.0) << level << ": " << low << " to " << high;
        });
    }
}

}  // namespace
