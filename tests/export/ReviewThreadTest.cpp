// The replay of a loaded work on its own thread: the round trip from a recorded work, the
// acceleration, and stopping a held review.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <mutex>
#include <thread>

#include "app/Layout.h"
#include "app/Lifecycle.h"
#include "app/ProgramClock.h"
#include "app/ReviewThread.h"
#include "app/Texts.h"
#include "export/ShapefileExport.h"
#include "export/ShapefileReview.h"
#include "export/WorkSegments.h"
#include "gfx/Display.h"
#include "guidance/WorkedStrip.h"
#include "tests/export/WorkFileSupport.h"

using namespace work_test;
using namespace std::chrono_literals;

namespace {

void startAsTheWindowDoes() {
    appState.ui.screenState = kStateReview;
    appState.ui.paused = 0;
    appState.ui.menuDuringReview = 0;
    appState.ui.pauseNoticePending = 0;
    appState.ui.reviewRunning = 1;
    startReview();
}

void stopAsTheWindowDoes() {
    appState.ui.paused = 0;
    appState.ui.reviewRunning = 0;
    joinReview();
}

// Waits (without a deadline the test runner would not enforce anyway) for the replay to end.
void waitForTheEnd() {
    while (appState.ui.reviewRunning) std::this_thread::sleep_for(5ms);
    joinReview();
}

// A drive of three passes with turns, recorded through the strip recorder, with two pauses.
void recordWork() {
    beginWork();
    PlanePoint last{};
    auto step = [&last](int x, int y, int ux, int uy) {
        PlanePoint p{double(x), double(y)};
        int offX = 60 * uy, offY = 60 * ux;
        appendStrip(appState.work, p, offX, offY,
                    (x - last.x) * (x - last.x) + (y - last.y) * (y - last.y));
        last = p;
    };
    for (int i = 0; i < 40; ++i) step(0, 10 * i, 0, 1);
    appState.work.pauseMarks.push_back(appState.work.strips.size());
    for (int i = 0; i < 12; ++i) step(10 * i, 400, 1, 0);
    for (int i = 0; i < 40; ++i) step(120, 400 - 10 * i, 0, -1);
    appState.work.pauseMarks.push_back(appState.work.strips.size());
    for (int i = 0; i < 30; ++i) step(240, 10 * i, 0, 1);
}

std::vector<RecordRange> nonEmpty(std::vector<RecordRange> segments) {
    std::erase_if(segments, [](RecordRange r) { return r.begin == r.end; });
    return segments;
}

class ReviewThreadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        headless();
        appState.layout.display = nullptr;
        appState.settings.reviewStep = 1;
    }
    void TearDown() override {
        stopAsTheWindowDoes();
        appState.settings.reviewStep = 1;
    }
    ScratchFolder folder;
};

TEST_F(ReviewThreadTest, ReplayOfASavedWorkReproducesItsAreaAndSegments) {
    recordWork();
    const double area = appState.work.workedArea;
    const double distance = appState.work.distance;
    const std::uint32_t records = appState.work.strips.size();
    const auto segments = nonEmpty(workSegments(appState.work.pauseMarks, records));
    ASSERT_GT(area, 0.0);
    ASSERT_EQ(exportShapefile(folder / "drive.shp", appState.work, appState.projection), 1);

    beginWork(0.0, 0.0);
    std::string path = folder / "drive.shp";
    ASSERT_EQ(readShapefileForReview(path, appState.projection, appState.work, appState.review), 1);
    appState.settings.reviewStep = 50;
    startAsTheWindowDoes();
    waitForTheEnd();

    EXPECT_EQ(appState.work.strips.size(), records);
    EXPECT_TRUE(appState.review.positions.empty());
    EXPECT_TRUE(appState.review.headings.empty());
    EXPECT_EQ(nonEmpty(workSegments(appState.work.pauseMarks, appState.work.strips.size())).size(),
              segments.size());
    for (std::size_t k = 0; k < segments.size(); ++k) {
        auto replayed =
            nonEmpty(workSegments(appState.work.pauseMarks, appState.work.strips.size()));
        EXPECT_EQ(replayed[k].begin, segments[k].begin);
        EXPECT_EQ(replayed[k].end, segments[k].end);
    }
    // The file keeps the plane's precision: the review shows what was worked.
    EXPECT_NEAR(appState.work.workedArea, area, 0.001 * area) << "recorded " << area;
    EXPECT_NEAR(appState.work.distance, distance, 0.001 * distance);
    // The step did not change for a work longer than it.
    EXPECT_EQ(appState.settings.reviewStep, 50);
}

TEST_F(ReviewThreadTest, StepLargerThanTheWorkFallsBackToOne) {
    beginWork();
    appState.review.positions = {{0, 0}, {0, 10}, {0, 20}};
    appState.review.headings = {{0, 1}, {0, 1}, {0, 1}};
    driveNorth(3);
    handRecordsToReview();
    appState.settings.reviewStep = 5;
    startAsTheWindowDoes();
    waitForTheEnd();
    EXPECT_EQ(appState.settings.reviewStep, 1);
    EXPECT_EQ(appState.work.strips.size(), 3);
    EXPECT_EQ(appState.work.distance, 20);
    EXPECT_EQ(appState.work.workedArea, 2 * 10 * 120);
    EXPECT_FLOAT_EQ(appState.heading.north, 1.0f);
}

// A review held by a pause, or by the menu, still ends at once when the driver stops it.
TEST_F(ReviewThreadTest, StopEndsAHeldReview) {
    for (bool menu : {false, true}) {
        beginWork();
        driveNorth(200);
        handRecordsToReview();
        for (int i = 0; i < 200; ++i) {
            appState.review.positions.push_back({0.0, 10.0 * i});
            appState.review.headings.push_back({0, 1});
        }
        startAsTheWindowDoes();
        appState.ui.pauseNoticePending = 1;
        appState.ui.paused = 1;
        if (menu) appState.ui.menuDuringReview = 1;
        std::this_thread::sleep_for(150ms);
        std::uint32_t held = appState.work.strips.size();
        std::this_thread::sleep_for(250ms);
        EXPECT_EQ(appState.work.strips.size(), held) << "the review went on while held";
        EXPECT_LT(held, 200u);
        stopAsTheWindowDoes();  // returns only once the thread has ended
        appState.ui.menuDuringReview = 0;
        EXPECT_TRUE(appState.review.positions.empty());
    }
}

// The replay keeps the program clock's time, not the wall's: each shown step waits 50 ms of it,
// so a test that moves the clock runs a review as fast as it likes.
TEST_F(ReviewThreadTest, ShownStepsWaitFiftyMillisecondsOfTheProgramClock) {
    ManualClock clock;
    setProgramClock(&clock);
    beginWork();
    driveNorth(3);
    handRecordsToReview();
    appState.review.positions = {{0, 0}, {0, 10}, {0, 20}};
    appState.review.headings = {{0, 1}, {0, 1}, {0, 1}};
    const auto revealed = [] {
        std::lock_guard lock(appState.frameLock);
        return appState.work.strips.size();
    };
    // Waits, in real time, for what the review thread is to do without the clock moving on.
    const auto soon = [](const auto& condition) {
        const auto end = std::chrono::steady_clock::now() + 2s;
        while (!condition() && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(1ms);
        return condition();
    };
    startAsTheWindowDoes();
    EXPECT_TRUE(soon([&] { return revealed() == 1; }));
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(revealed(), 1u) << "the clock stood still, and so did the review";
    clock.advance(49ms);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(revealed(), 1u) << "49 ms of the clock are not a step";
    clock.advance(1ms);
    EXPECT_TRUE(soon([&] { return revealed() == 2; }));
    clock.advance(50ms);
    EXPECT_TRUE(soon([&] { return revealed() == 3; }));
    EXPECT_TRUE(appState.ui.reviewRunning) << "the last step's wait is still to come";
    clock.advance(50ms);
    EXPECT_TRUE(soon([] { return !appState.ui.reviewRunning; }));
    // Whatever failed above, the thread ends before its clock does.
    for (int i = 0; i < 100 && appState.ui.reviewRunning; ++i) {
        clock.advance(100ms);
        std::this_thread::sleep_for(5ms);
    }
    joinReview();
    setProgramClock(nullptr);
    EXPECT_EQ(appState.work.strips.size(), 3u);
}

// The frames the display presented, newest last.
std::mutex shownMutex;
std::vector<std::vector<std::uint16_t>> shown;

void keepFrame(const std::uint16_t* pixels, int width, int height, int pitchBytes) {
    std::lock_guard lock(shownMutex);
    std::vector<std::uint16_t> frame;
    for (int y = 0; y < height; ++y)
        frame.insert(frame.end(), pixels + y * (pitchBytes / 2),
                     pixels + y * (pitchBytes / 2) + width);
    shown.push_back(std::move(frame));
}

// With a step of 5, points 0, 5 and 10 of 12 are drawn; then the finished message goes over
// the last of them, near the top, and nowhere else.
TEST_F(ReviewThreadTest, DrawsEveryNthPointAndFinishesOverTheLastFrame) {
    appState.layout.screenWidth = 240;
    appState.layout.screenHeight = 320;
    computeScreenMetrics();
    computeLayout();
    installTexts();
    loadFont();
    ASSERT_NE(appState.layout.font, nullptr);
    gfx::setPresentHook(keepFrame);
    gfx::setBackendScreen(240, 320);
    gfx::setBackendOrientation(0);
    gfx::DisplayParameters params{0, 0, 0, 1};
    appState.layout.display = gfx::Display::Create(nullptr, params);
    ASSERT_NE(appState.layout.display, nullptr);
    shown.clear();

    beginWork();
    driveNorth(12);
    handRecordsToReview();
    for (int i = 0; i < 12; ++i) {
        appState.review.positions.push_back({0.0, 10.0 * i});
        appState.review.headings.push_back({0, 1});
    }
    appState.settings.reviewStep = 5;
    startAsTheWindowDoes();
    waitForTheEnd();

    {
        std::lock_guard lock(appState.frameLock);
        gfx::Display::Destroy(appState.layout.display);
        appState.layout.display = nullptr;
    }
    gfx::setPresentHook(nullptr);
    ASSERT_EQ(shown.size(), 4u);
    const auto& last = shown[3];
    const auto& before = shown[2];
    int changed = 0;
    const int top = appState.layout.halfScreenHeight / 4;
    for (int y = 0; y < 320; ++y)
        for (int x = 0; x < 240; ++x) {
            if (last[y * 240 + x] == before[y * 240 + x]) continue;
            ++changed;
            EXPECT_GE(y, top);
            EXPECT_LT(y, top + 4 * 16);
            EXPECT_EQ(last[y * 240 + x], gfx::pixelFromColorRef(appState.settings.textColor));
            if (HasFailure()) return;
        }
    EXPECT_GT(changed, 0);
}

}  // namespace

// Shutting down while "the review has finished" is shown: the thread has ended by itself and
// must still be collected, or the program aborts on its way out.
TEST_F(ReviewThreadTest, ShutDownAfterAReviewRanOutCollectsItsThread) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        beginWork();
        appState.review.positions = {{0, 0}, {0, 10}, {0, 20}};
        appState.review.headings = {{0, 1}, {0, 1}, {0, 1}};
        handRecordsToReview();
        startAsTheWindowDoes();
        while (appState.ui.reviewRunning) std::this_thread::sleep_for(5ms);
        lifecycleCalls().stopThreads();
        std::exit(0);  // static destruction: an uncollected thread aborts here
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}
