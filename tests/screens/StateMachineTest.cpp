// The screen state machine driven through windowProc as the window drives it: every
// transition, the zoom limits, pauses, points A and B, and the confirmations.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "ScreenFixture.h"
#include "app/MessageTables.h"
#include "export/ShapefileChooser.h"

namespace screens_test {
namespace {

using StateMachineTest = ScreenTest;
using namespace std::chrono_literals;

// Starting a work puts up the waiting screen; its thread draws the first frame at once.
void startWorkAndSeeTheWait(const ButtonRect& button) {
    int before = headless().framesPresented();
    ScreenTest::tapAt(button.left + 1, button.top + 1);
    ASSERT_TRUE([&] {
        auto end = std::chrono::steady_clock::now() + 2s;
        while (headless().framesPresented() == before)
            if (std::chrono::steady_clock::now() > end) return false;
        return true;
    }()) << "the waiting screen was never drawn";
}

TEST_F(StateMachineTest, NewWorkClearsTheOldOneAndWaitsForAFix) {
    struct Case {
        const ButtonRect* button;
        std::uint8_t workState;
    };
    for (Case c : {Case{&appState.btnStartFree, kStateFreeWork},
                   Case{&appState.btnStartAB, kStateSettingAB}}) {
        AppState& s = appState;
        s.paused = 1;
        s.fixCount = 40;
        s.position = {12, 34};
        s.workedArea = 5.0;
        s.distance = 9;
        s.northUp = 1;
        s.pointASet = 1;
        s.originSet = 1;
        s.workFull = 1;
        s.pauseMarks = {3, 8};
        s.screenQuads[8191] = {5, 5};
        s.guidance.lines.push_back({});
        s.fixQuality = 4;

        startWorkAndSeeTheWait(*c.button);
        EXPECT_EQ(s.screenState, kStateGpsWait);
        EXPECT_EQ(s.returnState, c.workState);
        EXPECT_EQ(s.waitingForFix, 1);
        EXPECT_EQ(s.fixQuality, 0);
        EXPECT_EQ(s.paused, 0);
        EXPECT_EQ(s.fixCount, 0);
        EXPECT_EQ(s.position.x, 0);
        EXPECT_EQ(s.workedArea, 0.0);
        EXPECT_EQ(s.distance, 0);
        EXPECT_EQ(s.northUp, 0);
        EXPECT_EQ(s.pointASet, 0);
        EXPECT_EQ(s.originSet, 0);
        EXPECT_EQ(s.workFull, 0);
        EXPECT_TRUE(s.pauseMarks.empty());
        EXPECT_EQ(s.screenQuads[8191].x, 0);
        EXPECT_TRUE(s.guidance.lines.empty());
        EXPECT_EQ(s.promptBlink, 1);

        // No on the waiting screen: back to the start, and the wait ends.
        tap(s.btnNo);
        EXPECT_EQ(s.screenState, kStateStart);
        EXPECT_EQ(s.waitingForFix, 0);
    }
}

TEST_F(StateMachineTest, SettingsFromTheWaitingScreenOpenTheMenuAndEndTheWait) {
    startWorkAndSeeTheWait(appState.btnStartFree);
    MenuWatcher menu;
    tap(appState.btnYes);
    ASSERT_TRUE(menu.opened);
    EXPECT_EQ(menu.menuOpenWhileUp, 1);
    EXPECT_EQ(menu.waitingWhileUp, 0) << "the wait ends before the menu shows";
    EXPECT_EQ(appState.menuOpen, 0) << "the closing sheet clears it";
}

TEST_F(StateMachineTest, ZoomIsLimitedBeforeTheStep) {
    struct Case {
        float from;
        bool zoomIn;
        float to;
    };
    const Case cases[] = {
        {12.9f, true, float(double(12.9f) * 1.1)},  // grows once more, past 13
        {13.0f, true, 13.0f},
        {14.2f, true, 14.2f},
        {3.0f, true, float(3.0 * 1.1)},
        {0.2f, false, float(double(0.2f) * 0.9090909090909091)},  // 0.2f is just above 0.2
        {0.21f, false, float(double(0.21f) * 0.9090909090909091)},
        {0.19f, false, 0.19f},
        {3.0f, false, float(3.0 * 0.9090909090909091)},
    };
    for (std::uint8_t state : {kStateFreeWork, kStateGuidance, kStateSettingAB, kStateReview}) {
        for (const Case& c : cases) {
            appState.screenState = state;
            appState.reviewRunning = 1;
            appState.zoom = c.from;
            tap(c.zoomIn ? appState.btnZoomIn : appState.btnZoomOut);
            EXPECT_EQ(appState.zoom, c.to) << "state " << int(state) << " from " << c.from;
            EXPECT_EQ(appState.screenState, state);
            EXPECT_EQ(appState.paused, 0) << "a button tap is no pause";
        }
    }
    // Zooming out from 0.2 never reaches 0.
    appState.screenState = kStateFreeWork;
    appState.zoom = 0.5f;
    for (int i = 0; i < 100; ++i) tap(appState.btnZoomOut);
    EXPECT_GT(appState.zoom, 0.17f);
    EXPECT_LE(appState.zoom, 0.2f);
}

TEST_F(StateMachineTest, ViewToggleAndMenuButtonsOfTheWorkScreen) {
    for (std::uint8_t state : {kStateFreeWork, kStateGuidance, kStateSettingAB}) {
        appState.screenState = state;
        tap(appState.btnViewToggle);
        EXPECT_EQ(appState.northUp, 1);
        tap(appState.btnViewToggle);
        EXPECT_EQ(appState.northUp, 0);
        MenuWatcher menu;
        tap(appState.btnWorkMenu);
        EXPECT_TRUE(menu.opened);
        EXPECT_EQ(menu.menuOpenWhileUp, 1);
        EXPECT_EQ(appState.screenState, state);
    }
}

TEST_F(StateMachineTest, MapTapsPauseAndResumeAndMarkThePause) {
    for (std::uint8_t state : {kStateFreeWork, kStateGuidance}) {
        appState.screenState = state;
        appState.pauseMarks.clear();
        appState.fixCount = 7;
        tapMap();
        EXPECT_EQ(appState.paused, 1);
        EXPECT_EQ(appState.pauseMarks, std::vector<std::uint16_t>{7});
        appState.fixCount = 9;
        tapMap();  // resumes without a mark
        EXPECT_EQ(appState.paused, 0);
        EXPECT_EQ(appState.pauseMarks, std::vector<std::uint16_t>{7});
        tapMap();
        EXPECT_EQ(appState.pauseMarks, (std::vector<std::uint16_t>{7, 9}));
        tapMap();
    }
}

TEST_F(StateMachineTest, PointsAAndBAreSetFromTheCurrentPosition) {
    appState.screenState = kStateSettingAB;
    appState.implementWidth = 1206;  // 120.6 dm between the guide lines
    // Before the work's first accepted fix there is no position, whatever the coordinates say.
    appState.positionSet = 0;
    for (PlanePoint stale : {PlanePoint{0, 0}, PlanePoint{-100, 200}}) {
        appState.position = stale;
        tapMap();
        EXPECT_EQ(appState.pointASet, 0);
    }
    // Once there is one, the origin's own lines are places like any other.
    appState.positionSet = 1;
    appState.position = {0.0, 200.25};
    tapMap();
    EXPECT_EQ(appState.pointASet, 1);
    EXPECT_EQ(appState.pointA.x, 0.0);
    EXPECT_EQ(appState.pointA.y, 200.25);
    EXPECT_EQ(appState.screenState, kStateSettingAB);
    EXPECT_EQ(appState.paused, 0) << "setting points never pauses";

    appState.position = {0.03, 900.0};
    tapMap();
    EXPECT_EQ(appState.pointB.x, 0.03);
    EXPECT_EQ(appState.pointB.y, 900.0);
    EXPECT_EQ(appState.screenState, kStateGuidance);
    EXPECT_EQ(appState.abReady, 1);
    EXPECT_DOUBLE_EQ(appState.guidance.spacing, 120.6);
    EXPECT_EQ(appState.pauseMarks.size(), 0u);
}

TEST_F(StateMachineTest, DecliningToFinishReturnsToTheSameWork) {
    for (std::uint8_t state : {kStateFreeWork, kStateGuidance, kStateSettingAB}) {
        appState.screenState = state;
        tap(appState.btnFinish);
        EXPECT_EQ(appState.screenState, kStateConfirm);
        EXPECT_EQ(appState.confirmKind, kConfirmFinish);
        EXPECT_EQ(appState.savedState, state);
        EXPECT_EQ(appState.returnState, kStateStart);
        EXPECT_STREQ(appState.promptText, messageText(kMsgFinishQuestion));
        tap(appState.btnNo);
        EXPECT_EQ(appState.screenState, state);
    }
}

TEST_F(StateMachineTest, FinishingAsksToSaveAndEndsAtTheStartOnlyWhenDeclined) {
    for (bool save : {false, true}) {
        appState.screenState = kStateGuidance;
        tap(appState.btnFinish);
        tap(appState.btnYes);
        EXPECT_EQ(appState.screenState, kStateConfirm);
        EXPECT_EQ(appState.confirmKind, kConfirmSave);
        EXPECT_STREQ(appState.promptText, messageText(kMsgSaveQuestion));
        if (save) {
            // A cancelled chooser saves nothing, so the question stays.
            headless().queueFileAnswer(std::nullopt);
            tap(appState.btnYes);
            EXPECT_EQ(appState.screenState, kStateConfirm);
            EXPECT_STREQ(appState.promptText, messageText(kMsgSaveQuestion));
        }
        tap(appState.btnNo);  // the work is dropped
        EXPECT_EQ(appState.screenState, kStateStart);
    }
}

TEST_F(StateMachineTest, ExitAsksFirstAndEndsTheProgramThroughTheQuitMessage) {
    tap(appState.btnExit);
    EXPECT_EQ(appState.screenState, kStateConfirm);
    EXPECT_EQ(appState.confirmKind, kConfirmClose);
    EXPECT_STREQ(appState.promptText, messageText(kMsgCloseQuestion));
    tap(appState.btnNo);
    EXPECT_EQ(appState.screenState, kStateStart);

    tap(appState.btnExit);
    tap(appState.btnYes);
    EXPECT_EQ(headless().quitCode(), 0);
    // Nothing is painted or tapped any more while the program shuts down.
    EXPECT_EQ(appState.screenState, kStateBeforeStart);
}

TEST_F(StateMachineTest, ReviewThatCannotBeReadLeavesTheStartScreen) {
    appState.gpsRunning = 1;
    headless().queueFileAnswer(std::string("/nonexistent/work.shp"));
    tap(appState.btnReview);
    EXPECT_EQ(appState.screenState, kStateStart);
    EXPECT_EQ(appState.reviewRunning, 0);
    EXPECT_EQ(appState.gpsRunning, 1);
    headless().queueFileAnswer(std::nullopt);
    tap(appState.btnReview);
    EXPECT_EQ(appState.screenState, kStateStart);
    appState.gpsRunning = 0;
}

TEST_F(StateMachineTest, ReviewTapsPauseOpenTheMenuAndStop) {
    appState.screenState = kStateReview;
    appState.reviewRunning = 1;
    tapMap();
    EXPECT_EQ(appState.paused, 1);
    EXPECT_EQ(appState.pauseNoticePending, 1);
    EXPECT_TRUE(appState.pauseMarks.empty()) << "a review records no pause";
    tapMap();
    EXPECT_EQ(appState.paused, 0);

    // The menu lifts a pause; the review waits for the menu instead.
    tapMap();
    {
        MenuWatcher menu;
        tap(appState.btnWorkMenu);
        ASSERT_TRUE(menu.opened);
        EXPECT_EQ(menu.menuOpenWhileUp, 1);
        EXPECT_EQ(menu.menuDuringReviewWhileUp, 1);
        EXPECT_EQ(menu.pausedWhileUp, 0);
        EXPECT_EQ(appState.menuDuringReview, 0) << "the closing sheet lets the review go on";
    }

    tap(appState.btnViewToggle);
    EXPECT_EQ(appState.northUp, 1);

    appState.paused = 1;
    tap(appState.btnFinish);
    EXPECT_EQ(appState.screenState, kStateStart);
    EXPECT_EQ(appState.reviewRunning, 0);
    EXPECT_EQ(appState.paused, 0);
}

TEST_F(StateMachineTest, AnyTapAfterTheReviewEndedReturnsToTheStart) {
    appState.screenState = kStateReview;
    appState.reviewRunning = 0;
    appState.zoom = 3.0f;
    tap(appState.btnZoomIn);
    EXPECT_EQ(appState.screenState, kStateStart);
    EXPECT_EQ(appState.zoom, 3.0f);
}

TEST_F(StateMachineTest, TapsThatHitNothingAreIgnored) {
    struct Case {
        std::uint8_t state;
        int x, y;
    };
    // Between the start buttons, beside Yes and No, before start-up ended, and off-screen
    // positions whose halves are negative.
    const Case cases[] = {{kStateStart, 120, 70},      {kStateStart, 10, 30},
                          {kStateConfirm, 20, 150},    {kStateGpsWait, 230, 10},
                          {kStateBeforeStart, 60, 30}, {kStateStart, -30000, 30},
                          {kStateConfirm, 50, -1}};
    for (const Case& c : cases) {
        appState.screenState = c.state;
        appState.confirmKind = kConfirmClose;
        tapAt(c.x, c.y);
        EXPECT_EQ(appState.screenState, c.state) << c.x << "," << c.y;
        EXPECT_EQ(appState.menuOpen, 0);
    }
    appState.screenState = kStateBeforeStart;
    tap(appState.btnExit);
    EXPECT_EQ(appState.screenState, kStateBeforeStart);
}

TEST_F(StateMachineTest, KeyFTogglesThePictureBackgroundAndOtherKeysDoNothing) {
    windowProc(kMsgChar, 'f', 0);
    EXPECT_EQ(appState.pictureBackground, 1);
    windowProc(kMsgChar, 'F', 0);
    windowProc(kMsgChar, 'g', 0);
    EXPECT_EQ(appState.pictureBackground, 1);
    windowProc(kMsgChar, 'f', 0);
    EXPECT_EQ(appState.pictureBackground, 0);
    EXPECT_EQ(appState.screenState, kStateStart);
}

// A name typed without ".shp", or with another dot, writes the same acker.shp/.shx/.dbf as
// "acker.shp", but the file chooser only asks about the name as typed: the program asks itself.
TEST_F(StateMachineTest, SavingOverAnUnaskedWorkAsksFirst) {
    char pattern[] = "/tmp/sulco-replace-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    { std::ofstream(dir + "/acker.shp") << "an earlier work"; }
    for (const char* name : {"/acker.2024", "/acker"}) {
        appState.screenState = kStateGuidance;
        tap(appState.btnFinish);
        tap(appState.btnYes);
        headless().queueFileAnswer(dir + name);
        tap(appState.btnYes);
        EXPECT_EQ(appState.screenState, kStateConfirm) << name;
        EXPECT_EQ(appState.confirmKind, kConfirmReplace) << name;
        EXPECT_STREQ(appState.promptText, messageText(kMsgReplaceQuestion)) << name;
        tap(appState.btnNo);  // another name, then
        EXPECT_EQ(appState.confirmKind, kConfirmSave) << name;
        EXPECT_STREQ(appState.promptText, messageText(kMsgSaveQuestion)) << name;
        tap(appState.btnNo);
        EXPECT_EQ(appState.screenState, kStateStart) << name;
    }
    std::ifstream kept(dir + "/acker.shp");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "an earlier work");
    EXPECT_TRUE(replacesUnaskedFiles(dir + "/acker.dbf"));
    EXPECT_FALSE(replacesUnaskedFiles(dir + "/acker.shp"));  // the chooser has asked
    EXPECT_FALSE(replacesUnaskedFiles(dir + "/wiese"));
    EXPECT_FALSE(replacesUnaskedFiles(dir + ".d/acker"));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace screens_test
