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
#include "guidance/WorkedStrip.h"

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
    for (Case c : {Case{&appState.layout.btnStartFree, kStateFreeWork},
                   Case{&appState.layout.btnStartAB, kStateSettingAB}}) {
        AppState& s = appState;
        s.ui.paused = 1;
        s.work.strips.resize(40);
        s.work.position = {12, 34};
        s.work.workedArea = 5.0;
        s.work.distance = 9;
        s.view.northUp = 1;
        s.work.pointASet = 1;
        s.work.plane.originSet = 1;
        s.work.workFull = 1;
        s.work.pauseMarks = {3, 8};
        s.work.groundArea = 4.0;
        coverNewRecords(s.work);
        s.work.guidance.lines.push_back({});
        s.fix.fixQuality = 4;

        startWorkAndSeeTheWait(*c.button);
        EXPECT_EQ(s.ui.screenState, kStateGpsWait);
        EXPECT_EQ(s.ui.returnState, c.workState);
        EXPECT_EQ(s.ui.waitingForFix, 1);
        EXPECT_EQ(s.fix.fixQuality, 0);
        EXPECT_EQ(s.ui.paused, 0);
        EXPECT_EQ(s.work.strips.size(), 0);
        EXPECT_EQ(s.work.position.x, 0);
        EXPECT_EQ(s.work.workedArea, 0.0);
        EXPECT_EQ(s.work.distance, 0);
        EXPECT_EQ(s.view.northUp, 0);
        EXPECT_EQ(s.work.pointASet, 0);
        EXPECT_EQ(s.work.plane.originSet, 0);
        EXPECT_EQ(s.work.workFull, 0);
        EXPECT_TRUE(s.work.pauseMarks.empty());
        EXPECT_EQ(s.work.groundArea, 0.0);
        EXPECT_EQ(s.work.coverage.size(), 0u);
        EXPECT_TRUE(s.work.guidance.lines.empty());
        EXPECT_EQ(s.ui.promptBlink, 1);

        // No on the waiting screen: back to the start, and the wait ends.
        tap(s.layout.btnNo);
        EXPECT_EQ(s.ui.screenState, kStateStart);
        EXPECT_EQ(s.ui.waitingForFix, 0);
    }
}

TEST_F(StateMachineTest, SettingsFromTheWaitingScreenOpenTheMenuAndEndTheWait) {
    startWorkAndSeeTheWait(appState.layout.btnStartFree);
    MenuWatcher menu;
    tap(appState.layout.btnYes);
    ASSERT_TRUE(menu.opened);
    EXPECT_EQ(menu.menuOpenWhileUp, 1);
    EXPECT_EQ(menu.waitingWhileUp, 0) << "the wait ends before the menu shows";
    EXPECT_EQ(appState.ui.menuOpen, 0) << "the closing sheet clears it";
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
        {0.2f, false, float(double(0.2f) * 0.9090909090909091)},
        // 0.002f is just above 0.002
        {0.002f, false, float(double(0.002f) * 0.9090909090909091)},
        {0.0021f, false, float(double(0.0021f) * 0.9090909090909091)},
        {0.0019f, false, 0.0019f},
        {3.0f, false, float(3.0 * 0.9090909090909091)},
    };
    for (std::uint8_t state : {kStateFreeWork, kStateGuidance, kStateSettingAB, kStateReview}) {
        for (const Case& c : cases) {
            appState.ui.screenState = state;
            appState.ui.reviewRunning = 1;
            appState.settings.zoom = c.from;
            tap(c.zoomIn ? appState.layout.btnZoomIn : appState.layout.btnZoomOut);
            EXPECT_EQ(appState.settings.zoom, c.to) << "state " << int(state) << " from " << c.from;
            EXPECT_EQ(appState.ui.screenState, state);
            EXPECT_EQ(appState.ui.paused, 0) << "a button tap is no pause";
        }
    }
    // Zooming out from 0.002 never reaches 0.
    appState.ui.screenState = kStateFreeWork;
    appState.settings.zoom = 0.5f;
    for (int i = 0; i < 100; ++i) tap(appState.layout.btnZoomOut);
    EXPECT_GT(appState.settings.zoom, 0.0017f);
    EXPECT_LE(appState.settings.zoom, 0.002f);
}

TEST_F(StateMachineTest, ViewToggleAndMenuButtonsOfTheWorkScreen) {
    for (std::uint8_t state : {kStateFreeWork, kStateGuidance, kStateSettingAB}) {
        appState.ui.screenState = state;
        tap(appState.layout.btnViewToggle);
        EXPECT_EQ(appState.view.northUp, 1);
        tap(appState.layout.btnViewToggle);
        EXPECT_EQ(appState.view.northUp, 0);
        MenuWatcher menu;
        tap(appState.layout.btnWorkMenu);
        EXPECT_TRUE(menu.opened);
        EXPECT_EQ(menu.menuOpenWhileUp, 1);
        EXPECT_EQ(appState.ui.screenState, state);
    }
}

TEST_F(StateMachineTest, MapTapsPauseAndResumeAndMarkThePause) {
    for (std::uint8_t state : {kStateFreeWork, kStateGuidance}) {
        appState.ui.screenState = state;
        appState.work.pauseMarks.clear();
        appState.work.strips.resize(7);
        tapMap();
        EXPECT_EQ(appState.ui.paused, 1);
        EXPECT_EQ(appState.work.pauseMarks, std::vector<std::uint32_t>{7});
        appState.work.strips.resize(9);
        tapMap();  // resumes without a mark
        EXPECT_EQ(appState.ui.paused, 0);
        EXPECT_EQ(appState.work.pauseMarks, std::vector<std::uint32_t>{7});
        tapMap();
        EXPECT_EQ(appState.work.pauseMarks, (std::vector<std::uint32_t>{7, 9}));
        tapMap();
    }
}

TEST_F(StateMachineTest, PointsAAndBAreSetFromTheCurrentPosition) {
    appState.ui.screenState = kStateSettingAB;
    appState.settings.implementWidth = 1206;  // 120.6 dm between the guide lines
    // Before the work's first accepted fix there is no position, whatever the coordinates say.
    appState.work.positionSet = 0;
    for (PlanePoint stale : {PlanePoint{0, 0}, PlanePoint{-100, 200}}) {
        appState.work.position = stale;
        tapMap();
        EXPECT_EQ(appState.work.pointASet, 0);
    }
    // Once there is one, the origin's own lines are places like any other.
    appState.work.positionSet = 1;
    appState.work.position = {0.0, 200.25};
    tapMap();
    EXPECT_EQ(appState.work.pointASet, 1);
    EXPECT_EQ(appState.work.pointA.x, 0.0);
    EXPECT_EQ(appState.work.pointA.y, 200.25);
    EXPECT_EQ(appState.ui.screenState, kStateSettingAB);
    EXPECT_EQ(appState.ui.paused, 0) << "setting points never pauses";

    appState.work.position = {0.03, 900.0};
    tapMap();
    EXPECT_EQ(appState.work.pointB.x, 0.03);
    EXPECT_EQ(appState.work.pointB.y, 900.0);
    EXPECT_EQ(appState.ui.screenState, kStateGuidance);
    EXPECT_EQ(appState.ui.abReady, 1);
    EXPECT_DOUBLE_EQ(appState.work.guidance.spacing, 120.6);
    EXPECT_EQ(appState.work.pauseMarks.size(), 0u);
}

TEST_F(StateMachineTest, DecliningToFinishReturnsToTheSameWork) {
    for (std::uint8_t state : {kStateFreeWork, kStateGuidance, kStateSettingAB}) {
        appState.ui.screenState = state;
        tap(appState.layout.btnFinish);
        EXPECT_EQ(appState.ui.screenState, kStateConfirm);
        EXPECT_EQ(appState.ui.confirmKind, kConfirmFinish);
        EXPECT_EQ(appState.ui.savedState, state);
        EXPECT_EQ(appState.ui.returnState, kStateStart);
        // The question, then the ground and the overlap the work would be saved with.
        EXPECT_EQ(std::string(appState.ui.promptText),
                  std::string(messageText(kMsgFinishQuestion)) + " 0.00 ha, overlap 0.00 ha");
        tap(appState.layout.btnNo);
        EXPECT_EQ(appState.ui.screenState, state);
    }
}

TEST_F(StateMachineTest, FinishingAsksToSaveAndEndsAtTheStartOnlyWhenDeclined) {
    for (bool save : {false, true}) {
        appState.ui.screenState = kStateGuidance;
        tap(appState.layout.btnFinish);
        tap(appState.layout.btnYes);
        EXPECT_EQ(appState.ui.screenState, kStateConfirm);
        EXPECT_EQ(appState.ui.confirmKind, kConfirmSave);
        EXPECT_STREQ(appState.ui.promptText, messageText(kMsgSaveQuestion));
        if (save) {
            // A cancelled chooser saves nothing, so the question stays.
            headless().queueFileAnswer(std::nullopt);
            tap(appState.layout.btnYes);
            EXPECT_EQ(appState.ui.screenState, kStateConfirm);
            EXPECT_STREQ(appState.ui.promptText, messageText(kMsgSaveQuestion));
        }
        tap(appState.layout.btnNo);  // the work is dropped
        EXPECT_EQ(appState.ui.screenState, kStateStart);
    }
}

TEST_F(StateMachineTest, ExitAsksFirstAndEndsTheProgramThroughTheQuitMessage) {
    tap(appState.layout.btnExit);
    EXPECT_EQ(appState.ui.screenState, kStateConfirm);
    EXPECT_EQ(appState.ui.confirmKind, kConfirmClose);
    EXPECT_STREQ(appState.ui.promptText, messageText(kMsgCloseQuestion));
    tap(appState.layout.btnNo);
    EXPECT_EQ(appState.ui.screenState, kStateStart);

    tap(appState.layout.btnExit);
    tap(appState.layout.btnYes);
    EXPECT_EQ(headless().quitCode(), 0);
    // Nothing is painted or tapped any more while the program shuts down.
    EXPECT_EQ(appState.ui.screenState, kStateBeforeStart);
}

TEST_F(StateMachineTest, ReviewThatCannotBeReadLeavesTheStartScreen) {
    appState.ui.gpsRunning = 1;
    headless().queueFileAnswer(std::string("/nonexistent/work.shp"));
    tap(appState.layout.btnReview);
    EXPECT_EQ(appState.ui.screenState, kStateStart);
    EXPECT_EQ(appState.ui.reviewRunning, 0);
    EXPECT_EQ(appState.ui.gpsRunning, 1);
    headless().queueFileAnswer(std::nullopt);
    tap(appState.layout.btnReview);
    EXPECT_EQ(appState.ui.screenState, kStateStart);
    appState.ui.gpsRunning = 0;
}

TEST_F(StateMachineTest, ReviewTapsPauseOpenTheMenuAndStop) {
    appState.ui.screenState = kStateReview;
    appState.ui.reviewRunning = 1;
    tapMap();
    EXPECT_EQ(appState.ui.paused, 1);
    EXPECT_EQ(appState.ui.pauseNoticePending, 1);
    EXPECT_TRUE(appState.work.pauseMarks.empty()) << "a review records no pause";
    tapMap();
    EXPECT_EQ(appState.ui.paused, 0);

    // The menu lifts a pause; the review waits for the menu instead.
    tapMap();
    {
        MenuWatcher menu;
        tap(appState.layout.btnWorkMenu);
        ASSERT_TRUE(menu.opened);
        EXPECT_EQ(menu.menuOpenWhileUp, 1);
        EXPECT_EQ(menu.menuDuringReviewWhileUp, 1);
        EXPECT_EQ(menu.pausedWhileUp, 0);
        EXPECT_EQ(appState.ui.menuDuringReview, 0) << "the closing sheet lets the review go on";
    }

    tap(appState.layout.btnViewToggle);
    EXPECT_EQ(appState.view.northUp, 1);

    appState.ui.paused = 1;
    tap(appState.layout.btnFinish);
    EXPECT_EQ(appState.ui.screenState, kStateStart);
    EXPECT_EQ(appState.ui.reviewRunning, 0);
    EXPECT_EQ(appState.ui.paused, 0);
}

TEST_F(StateMachineTest, AnyTapAfterTheReviewEndedReturnsToTheStart) {
    appState.ui.screenState = kStateReview;
    appState.ui.reviewRunning = 0;
    appState.settings.zoom = 3.0f;
    tap(appState.layout.btnZoomIn);
    EXPECT_EQ(appState.ui.screenState, kStateStart);
    EXPECT_EQ(appState.settings.zoom, 3.0f);
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
        appState.ui.screenState = c.state;
        appState.ui.confirmKind = kConfirmClose;
        tapAt(c.x, c.y);
        EXPECT_EQ(appState.ui.screenState, c.state) << c.x << "," << c.y;
        EXPECT_EQ(appState.ui.menuOpen, 0);
    }
    appState.ui.screenState = kStateBeforeStart;
    tap(appState.layout.btnExit);
    EXPECT_EQ(appState.ui.screenState, kStateBeforeStart);
}

TEST_F(StateMachineTest, KeyFTogglesThePictureBackgroundAndOtherKeysDoNothing) {
    windowProc(kMsgChar, 'f', 0);
    EXPECT_EQ(appState.ui.pictureBackground, 1);
    windowProc(kMsgChar, 'F', 0);
    windowProc(kMsgChar, 'g', 0);
    EXPECT_EQ(appState.ui.pictureBackground, 1);
    windowProc(kMsgChar, 'f', 0);
    EXPECT_EQ(appState.ui.pictureBackground, 0);
    EXPECT_EQ(appState.ui.screenState, kStateStart);
}

// A name typed without ".shp", or with another dot, writes the same acker.shp/.shx/.dbf as
// "acker.shp", but the file chooser only asks about the name as typed: the program asks itself.
TEST_F(StateMachineTest, SavingOverAnUnaskedWorkAsksFirst) {
    char pattern[] = "/tmp/sulco-replace-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    { std::ofstream(dir + "/acker.shp") << "an earlier work"; }
    for (const char* name : {"/acker.2024", "/acker"}) {
        appState.ui.screenState = kStateGuidance;
        tap(appState.layout.btnFinish);
        tap(appState.layout.btnYes);
        headless().queueFileAnswer(dir + name);
        tap(appState.layout.btnYes);
        EXPECT_EQ(appState.ui.screenState, kStateConfirm) << name;
        EXPECT_EQ(appState.ui.confirmKind, kConfirmReplace) << name;
        EXPECT_STREQ(appState.ui.promptText, messageText(kMsgReplaceQuestion)) << name;
        tap(appState.layout.btnNo);  // another name, then
        EXPECT_EQ(appState.ui.confirmKind, kConfirmSave) << name;
        EXPECT_STREQ(appState.ui.promptText, messageText(kMsgSaveQuestion)) << name;
        tap(appState.layout.btnNo);
        EXPECT_EQ(appState.ui.screenState, kStateStart) << name;
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
