// The wait for a valid fix, on its own thread: two polls of the waiting screen before a fix is
// taken, qualities past 8 shown as "Invalid", and a cancelled wait that stays cancelled.
// The wait's second-long polls and the receiver's three seconds of silence run on a test
// clock that the tests move, in small steps, while the wait thread follows in real time.
#include <functional>

#include "FrameText.h"
#include "ScreenFixture.h"
#include "app/GpsControl.h"
#include "app/ProgramClock.h"

namespace screens_test {
namespace {

using namespace std::chrono_literals;
using Steady = std::chrono::steady_clock;

class GpsWaitTest : public ScreenTest {
  protected:
    void SetUp() override {
        ScreenTest::SetUp();
        // Each test starts the link itself, so that its silence counts from the test's clock.
        if (isGpsRunning()) setGpsEnabled(0);
        setProgramClock(&clock);
    }
    void TearDown() override {
        ScreenTest::TearDown();
        setProgramClock(nullptr);
    }

    // Moves the test clock by span in 10 ms steps, giving the wait thread a moment of real time
    // after each; `each` runs before every step.
    void advance(
        Millis span, const std::function<void()>& each = [] {}) {
        for (Millis moved{0}; moved < span; moved += 10ms) {
            each();
            clock.advance(10ms);
            std::this_thread::sleep_for(1ms);
        }
    }
    // Moves the clock until condition holds, at most by limit; then waits up to two seconds of
    // real time, the clock standing, for a wait thread that lags behind the clock.
    bool advanceUntil(const std::function<bool()>& condition, Millis limit) {
        for (Millis moved{0}; !condition() && moved < limit; moved += 10ms) {
            clock.advance(10ms);
            std::this_thread::sleep_for(1ms);
        }
        const auto end = Steady::now() + 2s;
        while (!condition() && Steady::now() < end) std::this_thread::sleep_for(5ms);
        return condition();
    }

    ManualClock clock;
};

TEST_F(GpsWaitTest, AFixAtOnceStillShowsTheWaitingScreenTwice) {
    // A wait cancelled at once and started again: its first thread must not poll for the new one.
    tap(appState.layout.btnStartFree);
    tap(appState.layout.btnNo);
    ASSERT_EQ(appState.ui.screenState, kStateStart);
    std::this_thread::sleep_for(300ms);  // the first thread is asleep now

    int before = frames();
    const Millis start = clock.now();
    tap(appState.layout.btnStartAB);
    appState.fix.fixQuality = 1;  // the receiver had a fix all along
    ASSERT_TRUE(advanceUntil([] { return appState.ui.screenState == kStateSettingAB; }, 5000ms));
    const Millis waited = clock.now() - start;
    EXPECT_GE(waited, 1900ms);
    EXPECT_GE(frames() - before, 2);
    EXPECT_EQ(appState.ui.redrawPending, 1) << "the work screen is drawn without waiting for a fix";
    EXPECT_EQ(appState.ui.waitingForFix, 0);
}

TEST_F(GpsWaitTest, QualityAboveEightIsInvalidAndDoesNotEndTheWait) {
    tap(appState.layout.btnStartFree);
    // Within the first three seconds: after that, with no receiver behind the link here, the
    // wait would say "No data". The quality is set as the receiver reports it, often.
    advance(2500ms, [] { appState.fix.fixQuality = 9; });
    EXPECT_EQ(appState.ui.screenState, kStateGpsWait);
    auto lines = drawnLines(headless().lastFrame(), 0x0000);
    EXPECT_EQ(joined(lines), "Waiting for a valid GPS signal... Current signal type is Invalid");
    tap(appState.layout.btnNo);
    EXPECT_EQ(appState.ui.screenState, kStateStart);
}

// Nothing from the receiver for three seconds (no receiver behind the link here): the wait says
// "No data" rather than naming a fix quality.
TEST_F(GpsWaitTest, SilentReceiverShowsNoData) {
    appState.ui.language = 2;
    tap(appState.layout.btnStartFree);
    advance(1500ms);
    EXPECT_EQ(joined(drawnLines(headless().lastFrame(), 0x0000)).find("Keine Daten"),
              std::string::npos);
    const int before = frames();
    const std::string noData =
        "Bitte warten Sie f\x81r auf ein verwendbares GPS Signal... Keine Daten";
    // 2.5 s more; the poll after the third second draws it.
    advance(2500ms);
    advanceUntil([&] { return joined(drawnLines(headless().lastFrame(), 0x0000)) == noData; }, 0ms);
    ASSERT_GT(frames(), before);
    EXPECT_EQ(joined(drawnLines(headless().lastFrame(), 0x0000)), noData);
    EXPECT_EQ(appState.ui.screenState, kStateGpsWait);
    tap(appState.layout.btnNo);
}

TEST_F(GpsWaitTest, WaitingScreenNamesTheCurrentQuality) {
    appState.ui.language = 1;
    tap(appState.layout.btnStartFree);
    std::this_thread::sleep_for(200ms);
    appState.fix.fixQuality = 2;
    // The next poll draws it, and does not yet take it: the clock stops short of the poll after.
    int before = frames();
    ASSERT_TRUE(advanceUntil([&] { return frames() >= before + 1; }, 1500ms));
    EXPECT_EQ(appState.ui.screenState, kStateGpsWait);
    EXPECT_EQ(joined(drawnLines(headless().lastFrame(), 0x0000)),
              "Esperando senal de GPS valida... Senal actual es de tipo DGPS fix");
    tap(appState.layout.btnNo);
}

}  // namespace
}  // namespace screens_test
