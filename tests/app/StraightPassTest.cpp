// Straight passes at every heading, with the implements and fix rates of real work: the strip,
// the area and the distance against the geometry of the drive itself, and the cross-track error
// of a drive a few centimetres beside its line wherever the work began.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "app/AppState.h"
#include "app/FixPipeline.h"
#include "guidance/GuidanceLines.h"
#include "platform/HeadlessPlatform.h"
#include "tests/app/PipelineTestSupport.h"

namespace {

using pipeline_test::PlaneFixes;

constexpr double kSpeedDmPerSecond = 22.0;  // 7.9 km/h
constexpr double kPassDm = 500.0;           // 50 m

class StraightPass : public ::testing::Test {
  protected:
    void SetUp() override { platform::install(&screen); }
    void TearDown() override { platform::install(nullptr); }
    platform::HeadlessPlatform screen;
};

TEST_F(StraightPass, AreaAndDistanceAtEveryHeadingWidthAndRate) {
    const int widthsCm[] = {100, 300, 410, 1200};
    const int ratesHz[] = {1, 5, 10};
    double worstArea = 0.0, worstDistance = 0.0, worstEdge = 0.0;
    for (int rate : ratesHz) {
        const double step = kSpeedDmPerSecond / rate;
        // The default 5 dm threshold takes every stride-th fix, counted from the origin fix.
        const int stride = int(std::floor(5.0 / step)) + 1;
        const int fixes = int(kPassDm / step);
        const int lastAccepted = fixes / stride * stride;
        // The first accepted fix seeds the position; records run from the second to the last.
        const double driven = (lastAccepted - 2 * stride) * step;
        for (int widthCm : widthsCm) {
            for (int heading = 0; heading < 360; ++heading) {
                pipeline_test::resetWork(kStateFreeWork);
                appState.settings.implementHalfWidth = std::uint16_t(widthCm / 2);
                appState.settings.implementWidth = std::uint16_t(widthCm);
                pipeline_test::PlaneFixes plane(8.55 + heading * 1e-3, 47.4);
                const double a = heading * M_PI / 180.0;
                const double east = std::sin(a), north = std::cos(a);
                for (int k = 0; k <= fixes; ++k)
                    onFix(plane.fixAt({east * step * k, north * step * k}, 4.3f, 0.8f));

                const double width = widthCm * 0.1;
                ASSERT_GT(appState.work.strips.size(), 1) << heading;
                const double area = appState.work.workedArea;
                worstArea = std::fmax(worstArea, std::fabs(area / (width * driven) - 1.0));
                worstDistance =
                    std::fmax(worstDistance, std::fabs(appState.work.distance / driven - 1.0));
                // Every record's edges lie half the width to either side of its track point.
                for (int r = 0; r < int(appState.work.strips.size()); ++r) {
                    const TrackEdge& e = appState.work.strips[r];
                    const double along = (stride * (r + 2)) * step;
                    const double cx = east * along, cy = north * along;
                    worstEdge = std::fmax(
                        worstEdge, std::fabs(std::hypot(e.leftX - cx, e.leftY - cy) - width / 2));
                    worstEdge = std::fmax(
                        worstEdge, std::fabs(std::hypot(e.rightX - cx, e.rightY - cy) - width / 2));
                    // Left is a quarter turn counter-clockwise of the travel.
                    ASSERT_GT((e.leftX - cx) * -north + (e.leftY - cy) * east, 0.0) << heading;
                }
                ASSERT_LT(worstArea, 0.005) << widthCm << " cm, " << heading << " deg, " << rate;
                ASSERT_LT(worstDistance, 0.002)
                    << widthCm << " cm, " << heading << " deg, " << rate;
                ASSERT_LT(worstEdge, 0.1) << widthCm << " cm, " << heading << " deg, " << rate;
            }
        }
    }
    RecordProperty("worst_area_error", std::to_string(worstArea));
    RecordProperty("worst_distance_error", std::to_string(worstDistance));
}

TEST_F(StraightPass, ThreeCentimetresBesideTheLineReadThreeCentimetresAnywhere) {
    // Origins on both sides of zone meridians and the equator, and the antimeridian.
    const double origins[][2] = {{15.3, 52.1},  {-93.61, 41.95}, {9.0, -33.9},
                                 {179.9, 64.2}, {3.0, 0.0},      {-0.01, 51.5}};
    const int headings[] = {0, 37, 90, 181, 270, 313};
    for (const auto& o : origins) {
        for (int heading : headings) {
            for (double side : {0.3, -0.3}) {
                pipeline_test::resetWork(kStateFreeWork);
                pipeline_test::PlaneFixes plane(o[0], o[1]);
                const double a = heading * M_PI / 180.0;
                const Vec2 along{std::sin(a), std::cos(a)};
                const Vec2 right{along.y, -along.x};
                // The AB line runs through the origin, so the drive crosses the origin's lines.
                setAbLine(appState.work.guidance, {0.0, 0.0}, 1000.0 * along, 120.0);
                appState.ui.screenState = kStateGuidance;
                for (int k = -20; k <= 20; ++k) {
                    Vec2 p = (10.0 * k) * along + side * right;
                    onFix(plane.fixAt({p.x, p.y}));
                }
                EXPECT_EQ(appState.guide.guideNumber, 0) << o[0] << " " << heading;
                EXPECT_NEAR(appState.guide.crossTrack, side, 0.01)
                    << o[0] << " " << o[1] << " " << heading << " " << side;
                EXPECT_EQ(appState.guide.steerLeft, side > 0 ? 1 : 0);
            }
        }
    }
}

}  // namespace
