// The ground and the overlap of drives through the real fix callback, against GEOS's union of
// the strip the drive's own geometry lays down; and fixes that jump away and back, which must
// leave the area and the distance of the same drive without them.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/AppState.h"
#include "app/FixPipeline.h"
#include "platform/HeadlessPlatform.h"
#include "tests/app/PipelineTestSupport.h"
#include "tests/coverage/GeosUnion.h"

namespace {

using pipeline_test::PlaneFixes;

constexpr double kSpeedKnots = 5.4;                        // 10 km/h
constexpr double kSpeedDm = kSpeedKnots * 1852.0 / 360.0;  // per second
constexpr double kHalfWidth = 60.0;                        // dm

// A drive sampled at its fixes: straight passes spacing apart joined by half circles, or a
// circle driven one and a half times.
std::vector<PlanePoint> passes(double spacing, int count, double length, int hz) {
    std::vector<PlanePoint> points;
    const double step = kSpeedDm / hz;
    for (int pass = 0; pass < count; ++pass) {
        const double x = pass * spacing;
        const bool up = pass % 2 == 0;
        for (double s = 0; s < length; s += step) points.push_back({x, up ? s : length - s});
        if (pass + 1 == count) break;
        const double r = spacing / 2, cy = up ? length : 0.0;
        for (double a = 0; a < M_PI; a += step / r)
            points.push_back({x + r - r * std::cos(a), cy + (up ? 1 : -1) * r * std::sin(a)});
    }
    return points;
}

std::vector<PlanePoint> circle(double radius, int hz) {
    std::vector<PlanePoint> points;
    const double step = kSpeedDm / hz;
    for (double a = 0; a < 3 * M_PI; a += step / radius)
        points.push_back({radius * std::sin(a), radius - radius * std::cos(a)});
    return points;
}

GPS_POSITION timedFix(const PlaneFixes& plane, PlanePoint p, int index, int hz) {
    GPS_POSITION fix = plane.fixAt(p, float(kSpeedKnots), 0.8f);
    const int tenths = 36000 * 10 + index * 10 / hz;  // from 10:00:00 on
    fix.utcTime.hour = std::uint16_t(tenths / 36000);
    fix.utcTime.minute = std::uint16_t(tenths / 600 % 60);
    fix.utcTime.second = std::uint16_t(tenths / 10 % 60);
    return fix;
}

// The strip the drive lays down by the program's rules, worked out here: a fix is taken when it
// lies more than 5 dm from the one taken before (the vehicle stands at the plane's origin before
// the first); the first one taken only places the vehicle;
// each later one records the implement's edges across its step, and two records in a row make
// a quad of two triangles.
struct ModelStrip {
    double sum = 0.0;
    double ground = 0.0;
};

ModelStrip modelOf(const std::vector<PlanePoint>& drive) {
    coverage_test::Geos geos;
    ModelStrip model;
    PlanePoint last{0.0, 0.0};
    bool placed = false, haveEdge = false;
    GroundPoint left, right;
    for (std::size_t i = 0; i < drive.size(); ++i) {
        const double dx = drive[i].x - last.x, dy = drive[i].y - last.y;
        if (dx * dx + dy * dy <= 25.0) continue;
        if (!placed) {
            placed = true;
            last = drive[i];
            continue;
        }
        const double len = std::hypot(dx, dy), ux = dx / len, uy = dy / len;
        const GroundPoint l{drive[i].x - kHalfWidth * uy, drive[i].y + kHalfWidth * ux};
        const GroundPoint r{drive[i].x + kHalfWidth * uy, drive[i].y - kHalfWidth * ux};
        if (haveEdge) {
            const StripQuad q{left, right, l, r};
            auto area = [](GroundPoint a, GroundPoint b, GroundPoint c) {
                return 0.5 * std::fabs((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x));
            };
            model.sum += area(left, right, l) + area(right, l, r);
            geos.addQuad(q);
        }
        left = l;
        right = r;
        haveEdge = true;
        last = drive[i];
    }
    model.ground = geos.unionArea();
    return model;
}

class GroundOnce : public ::testing::Test {
  protected:
    void SetUp() override { platform::install(&screen); }
    void TearDown() override { platform::install(nullptr); }

    void drive(const std::vector<PlanePoint>& points, int hz) {
        pipeline_test::resetWork(kStateFreeWork);
        PlaneFixes plane(8.55, 47.4);
        for (std::size_t i = 0; i < points.size(); ++i)
            onFix(timedFix(plane, points[i], int(i), hz));
    }
    platform::HeadlessPlatform screen;
};

TEST_F(GroundOnce, GroundAndOverlapMatchTheUnionOfTheStrip) {
    struct Case {
        const char* name;
        std::vector<PlanePoint> (*make)(int hz);
    };
    const Case cases[] = {
        {"passes 0.8 widths apart", [](int hz) { return passes(96.0, 5, 1500.0, hz); }},
        {"passes 1.0 width apart", [](int hz) { return passes(120.0, 5, 1500.0, hz); }},
        {"passes 1.2 widths apart", [](int hz) { return passes(144.0, 5, 1500.0, hz); }},
        {"a circle and a half", [](int hz) { return circle(250.0, hz); }},
    };
    for (const Case& c : cases) {
        for (int hz : {1, 10}) {
            const std::vector<PlanePoint> points = c.make(hz);
            drive(points, hz);
            const ModelStrip model = modelOf(points);
            const double ground = appState.work.groundArea;
            const double overlap = appState.work.workedArea - appState.work.groundArea;
            EXPECT_NEAR(ground, model.ground, model.ground * 0.005) << c.name << " at " << hz;
            EXPECT_NEAR(overlap, model.sum - model.ground, model.ground * 0.005)
                << c.name << " at " << hz;
            // Passes 0.8 widths apart overlap by a fifth of the width on four sides of five.
            if (c.make == cases[0].make) {
                EXPECT_GT(overlap, 4 * 24.0 * 1400.0) << hz;
            }
        }
    }
}

TEST_F(GroundOnce, AFixThatJumpsAndComesBackLeavesTheWorkAsWithoutIt) {
    for (int hz : {1, 10}) {
        const std::vector<PlanePoint> points = passes(120.0, 5, 4000.0, hz);
        drive(points, hz);
        const double area = appState.work.groundArea, distance = appState.work.distance;
        const std::uint32_t records = appState.work.strips.size();

        // One fix 300 m north of where it should be, in the middle of the third pass.
        pipeline_test::resetWork(kStateFreeWork);
        PlaneFixes plane(8.55, 47.4);
        const std::size_t stray = points.size() / 2;
        for (std::size_t i = 0; i < points.size(); ++i) {
            PlanePoint p = points[i];
            if (i == stray) p.y += 3000.0;
            onFix(timedFix(plane, p, int(i), hz));
        }
        EXPECT_NEAR(appState.work.groundArea, area, area * 0.001) << hz;
        EXPECT_NEAR(appState.work.distance, distance, distance * 0.001) << hz;
        EXPECT_LE(appState.work.strips.size(), records) << hz;
    }
}

TEST_F(GroundOnce, AReceiverThatReallyMovesStartsANewSegment) {
    // Half a pass, then the receiver is 300 m east from one fix on and stays there.
    const int hz = 1;
    const std::vector<PlanePoint> points = passes(120.0, 1, 4000.0, hz);
    pipeline_test::resetWork(kStateFreeWork);
    PlaneFixes plane(8.55, 47.4);
    const std::size_t moved = points.size() / 2;
    for (std::size_t i = 0; i < points.size(); ++i) {
        PlanePoint p = points[i];
        if (i >= moved) p.x += 3000.0;
        onFix(timedFix(plane, p, int(i), hz));
    }
    // The strip is parted where the jump is, and nothing 300 m wide or long is counted.
    ASSERT_EQ(appState.work.pauseMarks.size(), 1u);
    EXPECT_LT(appState.work.distance, 4000.0);
    EXPECT_LT(appState.work.workedArea, 120.0 * 4000.0);
    EXPECT_GT(appState.work.workedArea, 120.0 * 3800.0);
    EXPECT_EQ(appState.work.coverage.timesWorked({1500.0, 2000.0}), 0);
    EXPECT_EQ(appState.work.coverage.timesWorked({3000.0, 3000.0}), 1);
}

TEST_F(GroundOnce, AGapInTheFixesIsDrivenGroundNotAJump) {
    // Thirty seconds without a fix at 10 km/h, then on along the same pass: 83 m farther on.
    const int hz = 1;
    const std::vector<PlanePoint> points = passes(120.0, 1, 4000.0, hz);
    pipeline_test::resetWork(kStateFreeWork);
    PlaneFixes plane(8.55, 47.4);
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i > 40 && i < 70) continue;
        onFix(timedFix(plane, points[i], int(i), hz));
    }
    EXPECT_TRUE(appState.work.pauseMarks.empty());
    EXPECT_EQ(appState.work.coverage.timesWorked({points[55].x, points[55].y}), 1);
}

}  // namespace
