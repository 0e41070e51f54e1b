// Fixes arrive on the receiver's thread while the window thread draws: what the drawing sees
// under the frame lock is always a consistent work, and records below fixCount are complete.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "app/AppState.h"
#include "app/FixPipeline.h"
#include "platform/HeadlessPlatform.h"
#include "tests/app/PipelineTestSupport.h"

namespace {

using pipeline_test::PlaneFixes;

TEST(FixThread, TheDrawingSeesWholeRecordsAndMatchingTotals) {
    platform::HeadlessPlatform screen;
    platform::install(&screen);
    pipeline_test::resetWork(kStateFreeWork);
    pipeline_test::PlaneFixes plane(7.2, 46.5);
    // Prepared here: the receiver thread only calls the callback.
    std::vector<GPS_POSITION> fixes;
    for (int y = 0; y <= 20000; y += 10) fixes.push_back(plane.fixAt({0.0, double(y)}));

    std::atomic<bool> done{false};
    std::thread receiver([&] {
        for (const GPS_POSITION& f : fixes) onFix(f);
        done = true;
    });

    int checks = 0;
    while (!done || checks == 0) {
        {
            std::lock_guard lock(appState.frameLock);
            int n = appState.work.strips.size();
            // Driving straight north in 10 dm steps: every total follows from the count.
            if (n > 0) {
                EXPECT_NEAR(appState.work.distance, 10 * (n - 1), 1e-4);
                EXPECT_NEAR(appState.work.workedArea, 1200.0 * (n - 1), 1e-3);
                EXPECT_NEAR(appState.work.position.y, 10 * (n + 1), 1e-5);
            }
        }
        // Without the lock: a record below the published count is complete.
        int n = appState.work.strips.size();
        for (int i = n > 8 ? n - 8 : 0; i < n; ++i) {
            const TrackEdge& e = appState.work.strips[i];
            EXPECT_NEAR(e.leftX, -60, 1e-5);
            EXPECT_NEAR(e.rightX, 60, 1e-5);
            EXPECT_NEAR(e.leftY, 10 * (i + 2), 1e-5);
            EXPECT_NEAR(e.rightY, e.leftY, 1e-5);
        }
        ++checks;
        std::this_thread::yield();
    }
    receiver.join();
    EXPECT_EQ(appState.work.strips.size(), 1999);
    EXPECT_GE(screen.paintRequests(), static_cast<int>(fixes.size()));
    platform::install(nullptr);
}

}  // namespace
