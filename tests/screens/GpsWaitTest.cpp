// The wait for a valid fix, on its own thread: two polls of the waiting screen before a fix is
// taken, qualities past 8 shown as "Invalid", and a cancelled wait that stays cancelled.
#include "FrameText.h"
#include "ScreenFixture.h"

namespace screens_test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class GpsWaitTest : public ScreenTest {
  protected:
    static bool waitForState(std::uint8_t state, std::chrono::milliseconds limit) {
        auto end = Clock::now() + limit;
        while (appState.ui.screenState != state) {
            if (Clock::now() > end) return false;
            std::this_thread::sleep_for(5ms);
        }
        return true;
    }
};

TEST_F(GpsWaitTest, AFixAtOnceStillShowsTheWaitingScreenTwice) {
    // A wait cancelled at once and started again: its first thread must not poll for the new one.
    tap(appState.layout.btnStartFree);
    tap(appState.layout.btnNo);
    ASSERT_EQ(appState.ui.screenState, kStateStart);
    std::this_thread::sleep_for(300ms);  // the first thread is asleep now

    int before = frames();
    auto start = Clock::now();
    tap(appState.layout.btnStartAB);
    appState.fix.fixQuality = 1;  // the receiver had a fix all along
    ASSERT_TRUE(waitForState(kStateSettingAB, 5000ms));
    auto waited = Clock::now() - start;
    EXPECT_GE(waited, 1900ms);
    EXPECT_GE(frames() - before, 2);
    EXPECT_EQ(appState.ui.redrawPending, 1) << "the work screen is drawn without waiting for a fix";
    EXPECT_EQ(appState.ui.waitingForFix, 0);
}

TEST_F(GpsWaitTest, QualityAboveEightIsInvalidAndDoesNotEndTheWait) {
    tap(appState.layout.btnStartFree);
    // Within the first three seconds: after that, with no receiver behind the link here, the
    // wait would say "No data".
    auto end = Clock::now() + 2500ms;
    while (Clock::now() < end) {
        appState.fix.fixQuality = 9;  // as the receiver reports it, once a second and more
        std::this_thread::sleep_for(50ms);
    }
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
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(joined(drawnLines(headless().lastFrame(), 0x0000)).find("Keine Daten"),
              std::string::npos);
    const int before = frames();
    std::this_thread::sleep_for(2500ms);
    ASSERT_GT(frames(), before);
    EXPECT_EQ(joined(drawnLines(headless().lastFrame(), 0x0000)),
              "Bitte warten Sie f\x81r auf ein verwendbares GPS Signal... Keine Daten");
    EXPECT_EQ(appState.ui.screenState, kStateGpsWait);
    tap(appState.layout.btnNo);
}

TEST_F(GpsWaitTest, WaitingScreenNamesTheCurrentQuality) {
    appState.ui.language = 1;
    tap(appState.layout.btnStartFree);
    std::this_thread::sleep_for(200ms);
    appState.fix.fixQuality = 2;
    // The next poll draws it, and does not yet take it.
    int before = frames();
    ASSERT_TRUE(waitForFrames(before + 1, 2000ms));
    EXPECT_EQ(appState.ui.screenState, kStateGpsWait);
    EXPECT_EQ(joined(drawnLines(headless().lastFrame(), 0x0000)),
              "Esperando senal de GPS valida... Senal actual es de tipo DGPS fix");
    tap(appState.layout.btnNo);
}

}  // namespace
}  // namespace screens_test
