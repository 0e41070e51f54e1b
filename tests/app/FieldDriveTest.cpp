// A whole field: four 100 m passes one implement width apart, turning at the headland while
// paused, first setting A and B, then guided along the lines. The totals are worked out by hand.
#include <gtest/gtest.h>

#include "app/AppState.h"
#include "app/FixPipeline.h"
#include "guidance/GuidanceLines.h"
#include "tests/app/PipelineTestSupport.h"

namespace {

using pipeline_test::PlaneFixes;

TEST(FieldDrive, AreaAndDistanceOfFourPasses) {
    pipeline_test::resetWork(kStateSettingAB);
    pipeline_test::PlaneFixes plane(-93.61, 41.95);  // a field in Iowa
    auto fix = [&](int x, int y) { onFix(plane.fixAt({double(x), double(y)}, 4.0f, 0.9f)); };

    // Pass 1 north along x = 0: the origin fix, a seed at y = 10, records at y = 20 ... 1000.
    for (int y = 0; y <= 1000; y += 10) fix(0, y);
    ASSERT_EQ(appState.work.strips.size(), 99);
    EXPECT_NEAR(appState.work.distance, 980, 1e-4);
    EXPECT_NEAR(appState.work.workedArea, 98 * 10 * 120.0, 1e-3);

    // Points A and B on the first pass; the implement is 12 m wide.
    setAbLine(appState.work.guidance, {0.0, 20.0}, {0.0, 1000.0},
              appState.settings.implementWidth / 10);
    appState.ui.screenState = kStateGuidance;

    const int passX[] = {120, 240, 360};
    for (int pass = 0; pass < 3; ++pass) {
        bool goingSouth = pass % 2 == 0;
        int x = passX[pass];
        int turnY = goingSouth ? 1010 : -10;
        int startY = goingSouth ? 1000 : 0;
        // The headland turn, paused: the vehicle moves, nothing is recorded.
        appState.ui.paused = 1;
        fix(x - 80, turnY);
        fix(x - 40, turnY);
        fix(x, startY);
        appState.ui.paused = 0;
        for (int i = 1; i <= 100; ++i) fix(x, goingSouth ? startY - 10 * i : startY + 10 * i);
        EXPECT_EQ(appState.guide.guideNumber, pass + 1);
        EXPECT_NEAR(appState.guide.crossTrack, 0.0, 1e-5);
        EXPECT_EQ(appState.guide.arrowCount, 0);
    }

    // Each pass after the first: its first record joins the last one of the pass before over
    // the headland (a quad of 600 + 600 dm^2, 10 dm of step), then 99 steps of 10 x 120 dm.
    ASSERT_EQ(appState.work.strips.size(), 99 + 3 * 100);
    EXPECT_NEAR(appState.work.distance, 980 + 3 * (10 + 990), 1e-4);
    EXPECT_NEAR(appState.work.workedArea, 117600.0 + 3 * (1200.0 + 118800.0), 1e-3);
    EXPECT_NEAR(appState.work.workedArea * 1e-6, 0.4776, 1e-9);  // hectares on the panel
}

}  // namespace
