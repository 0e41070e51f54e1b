// Curved lines against exact circles: a recorded arc's parallels are the concentric circles,
// so line number and signed cross-track error at any point follow from its radius alone.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "guidance/CurveLines.h"
#include "guidance/CurveOffset.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kCm = 0.1;  // the plane is in decimetres

// Samples of the arc around c of radius r from angle a0 to a1 (radians), about every step dm.
void arc(std::vector<Vec2>& out, Vec2 c, double r, double a0, double a1, double step) {
    const int n = std::max(2, int(std::ceil(std::fabs(a1 - a0) * r / step)));
    for (int i = 0; i <= n; ++i) {
        const double a = a0 + (a1 - a0) * i / n;
        out.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
    }
}

Vec2 polar(Vec2 c, double r, double a) {
    return {c.x + r * std::cos(a), c.y + r * std::sin(a)};
}

// Tangent of a counter-clockwise circle at angle a.
Vec2 ccw(double a) {
    return {-std::sin(a), std::cos(a)};
}

struct Expect {
    int line;
    double crossTrack;
};

// A point on the right side of a left-turning arc is outward: its signed distance to the
// path is r - R, and lines are the circles R + n w.
Expect fromSignedDistance(double signedDistance, double width, bool along) {
    const int n = int(std::lround(signedDistance / width));
    const double xte = signedDistance - n * width;
    return {n, along ? xte : -xte};
}

TEST(CurveLines, HalfCircleAndItsParallelsAreConcentricCircles) {
    const Vec2 c{1234.5, -987.25};
    const double R = 500.0, w = 30.0;
    std::vector<Vec2> path;
    arc(path, c, R, 0.0, kPi, 5.0);
    CurveGuidance g;
    ASSERT_TRUE(setCurveLine(g, path, w));
    EXPECT_LT(g.path.size(), path.size() / 2) << "the path is thinned";
    std::mt19937 rng(17);
    std::uniform_real_distribution<double> angle(0.15, kPi - 0.15), radius(R - 95.0, R + 95.0);
    for (int i = 0; i < 300; ++i) {
        const double a = angle(rng), r = radius(rng);
        const bool along = i % 2 == 0;
        const Vec2 travel = along ? ccw(a) : -1.0 * ccw(a);
        const Expect e = fromSignedDistance(r - R, w, along);
        if (std::fabs(std::fabs(e.crossTrack) - w / 2) < 0.5) continue;  // halfway: either line
        const CurveFollow f = followNearestCurve(g, polar(c, r, a), travel);
        EXPECT_EQ(f.number, e.line) << "a=" << a << " r=" << r;
        EXPECT_NEAR(f.crossTrack, e.crossTrack, kCm) << "a=" << a << " r=" << r;
    }
}

TEST(CurveLines, SCurveChangesSidesWithTheBend) {
    // Left quarter around c1 from (0,0) heading east to (R,R) heading north, then a right
    // quarter around c2 to (2R,2R) heading east.
    const double R = 400.0, w = 45.0;
    const Vec2 c1{0.0, R}, c2{2 * R, R};
    std::vector<Vec2> path;
    arc(path, c1, R, -kPi / 2, 0.0, 4.0);
    std::vector<Vec2> second;
    arc(second, c2, R, kPi, kPi / 2, 4.0);
    path.insert(path.end(), second.begin() + 1, second.end());
    CurveGuidance g;
    ASSERT_TRUE(setCurveLine(g, path, w));
    struct Row {
        bool first;
        double a, r;
    } rows[] = {{true, -1.2, R + 3 * w + 2.0}, {true, -0.9, R - 7.0},
                {true, -0.4, R - w - 10.0},    {true, -1.0, R + 0.3},
                {false, 2.8, R - 2 * w + 1.0}, {false, 2.0, R + w - 4.0},
                {false, 2.5, R - 11.0},        {false, 2.2, R + 0.5}};
    for (const Row& row : rows) {
        // Along the path the first arc runs counter-clockwise, the second clockwise.
        const Vec2 centre = row.first ? c1 : c2;
        const Vec2 travel = row.first ? ccw(row.a) : -1.0 * ccw(row.a);
        const double signedDistance = row.first ? row.r - R : R - row.r;
        for (bool along : {true, false}) {
            const Expect e = fromSignedDistance(signedDistance, w, along);
            const CurveFollow f =
                followNearestCurve(g, polar(centre, row.r, row.a), along ? travel : -1.0 * travel);
            EXPECT_EQ(f.number, e.line) << row.a << " " << row.r;
            EXPECT_NEAR(f.crossTrack, e.crossTrack, kCm) << row.a << " " << row.r;
        }
    }
}

// Brute-force distance to a dense path, independent of the polyline search.
double distanceTo(const std::vector<Vec2>& path, Vec2 p) {
    double best = 1e300;
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        const Vec2 v = path[i + 1] - path[i], u = p - path[i];
        const double t = std::clamp((u.x * v.x + u.y * v.y) / (v.x * v.x + v.y * v.y), 0.0, 1.0);
        best = std::min(best, (u - t * v).length());
    }
    return best;
}

bool segmentsCross(Vec2 a, Vec2 b, Vec2 c, Vec2 d) {
    auto cross = [](Vec2 o, Vec2 p, Vec2 q) {
        return (p.x - o.x) * (q.y - o.y) - (p.y - o.y) * (q.x - o.x);
    };
    const double d1 = cross(c, d, a), d2 = cross(c, d, b), d3 = cross(a, b, c), d4 = cross(a, b, d);
    return ((d1 > 0) != (d2 > 0)) && ((d3 > 0) != (d4 > 0)) && d1 != 0 && d2 != 0 && d3 != 0 &&
           d4 != 0;
}

TEST(CurveLines, TightUTurnGivesParallelsWithoutLoops) {
    // Up a leg, a left half-turn of radius 10, 20 or 40 dm, down the other leg; the implement
    // is 30 dm wide, so the inside parallels of the turn would loop if offset naively.
    for (double radius : {10.0, 20.0, 40.0}) {
        const double w = 30.0;
        std::vector<Vec2> path;
        for (double y = -300.0; y < 0.0; y += 5.0) path.push_back({0.0, y});
        arc(path, {-radius, 0.0}, radius, 0.0, kPi, 2.0);
        for (double y = -5.0; y >= -300.0; y -= 5.0) path.push_back({-2 * radius, y});
        CurveGuidance g;
        ASSERT_TRUE(setCurveLine(g, path, w));
        const std::vector<Vec2>& ref = g.reference.points();
        for (int n = -2; n <= 2; ++n) {
            if (n == 0) continue;
            const std::vector<Vec2>& line = curveParallel(g, n).line.points();
            for (const Vec2& p : line) {
                // Every point of a parallel is exactly n widths from the path: a loop's points
                // would be nearer.
                if (p.y < -2000.0) continue;  // the far straight ends
                EXPECT_NEAR(distanceTo(ref, p), std::abs(n) * w, kCm)
                    << "radius " << radius << " line " << n << " at " << p.x << "," << p.y;
            }
            for (std::size_t i = 0; i + 1 < line.size(); ++i)
                for (std::size_t j = i + 2; j + 1 < line.size(); ++j)
                    ASSERT_FALSE(segmentsCross(line[i], line[i + 1], line[j], line[j + 1]))
                        << "radius " << radius << " line " << n << " crosses itself";
        }
        // Beside the first leg, driving up: right of it positive, inside the U negative.
        const Vec2 north{0.0, 1.0};
        CurveFollow f = followNearestCurve(g, {w - 2.0, -150.0}, north);
        EXPECT_EQ(f.number, 1);
        EXPECT_NEAR(f.crossTrack, -2.0, kCm);
        f = followNearestCurve(g, {-radius / 4, -150.0}, north);
        EXPECT_EQ(f.number, 0);
        EXPECT_NEAR(f.crossTrack, -radius / 4, kCm);
        // Around the outside of the turn: line 1 and 2 are circles of radius + n w.
        f = followNearestCurve(g, polar({-radius, 0.0}, radius + 2 * w + 3.0, kPi / 2),
                               {-1.0, 0.0});
        EXPECT_EQ(f.number, 2);
        EXPECT_NEAR(f.crossTrack, 3.0, kCm);
    }
}

TEST(CurveLines, NoisyArcIsThinnedAndFollowedToTheCircle) {
    // A receiver jittering by half a centimetre: the lines are off the true circles by no more
    // than the jitter and the centimetre.
    const Vec2 c{0.0, 0.0};
    const double R = 800.0, w = 60.0;
    std::vector<Vec2> path;
    arc(path, c, R, kPi, kPi / 4, 2.0);  // clockwise: a right turn, right side inward
    std::mt19937 rng(4);
    std::uniform_real_distribution<double> noise(-0.05, 0.05);
    for (Vec2& p : path) p = p + Vec2{noise(rng), noise(rng)};
    CurveGuidance g;
    ASSERT_TRUE(setCurveLine(g, path, w));
    EXPECT_LT(g.path.size(), path.size());
    std::uniform_real_distribution<double> angle(kPi / 4 + 0.1, kPi - 0.1),
        radius(R - 250.0, R + 250.0);
    for (int i = 0; i < 200; ++i) {
        const double a = angle(rng), r = radius(rng);
        const Expect e = fromSignedDistance(R - r, w, true);
        if (std::fabs(std::fabs(e.crossTrack) - w / 2) < 0.5) continue;
        const CurveFollow f = followNearestCurve(g, polar(c, r, a), -1.0 * ccw(a));
        EXPECT_EQ(f.number, e.line);
        EXPECT_NEAR(f.crossTrack, e.crossTrack, 1.5 * kCm);
    }
}

TEST(CurveLines, BeyondAAndBTheLinesGoOnStraight) {
    // A quarter circle ends heading north at (R, 0): a headland beyond B line 1 runs
    // north at x = R + w.
    const double R = 300.0, w = 30.0;
    std::vector<Vec2> path;
    arc(path, {0.0, 0.0}, R, -kPi / 2, 0.0, 3.0);
    CurveGuidance g;
    ASSERT_TRUE(setCurveLine(g, path, w));
    CurveFollow f = followNearestCurve(g, {R + w + 4.0, 300.0}, {0.0, 1.0});
    EXPECT_EQ(f.number, 1);
    EXPECT_NEAR(f.crossTrack, 4.0, kCm);
    // Before A it runs east to west at y = -R - n w for line... line -1 lies left: y = -R + w.
    f = followNearestCurve(g, {-300.0, -R + w - 6.0}, {1.0, 0.0});
    EXPECT_EQ(f.number, -1);
    EXPECT_NEAR(f.crossTrack, 6.0, kCm);
    EXPECT_FALSE(setCurveLine(g, {{5.0, 5.0}, {5.0, 5.0}}, w)) << "a path of no length";
}

}  // namespace
