// What the paint handler and the message screens put into the frame: the start screen, the
// confirmation, the message layout, the work-screen frame only when something changed, and
// nothing at all while a menu is up.
#include "FrameText.h"
#include "ScreenFixture.h"
#include "app/MessageScreen.h"
#include "platform/Platform.h"

namespace screens_test {
namespace {

using PaintTest = ScreenTest;
constexpr gfx::Pixel kBlack = 0x0000;
constexpr gfx::Pixel kWhite = 0xFFFF;

struct ButtonPictures {
    ButtonPictures() {
        AppState& s = appState;
        ButtonImage* images[] = {&s.layout.imgStartFree, &s.layout.imgStartAB, &s.layout.imgReview,
                                 &s.layout.imgStartMenu, &s.layout.imgExit,    &s.layout.imgYes,
                                 &s.layout.imgNo};
        const ButtonRect* rects[] = {&s.layout.btnStartFree, &s.layout.btnStartAB,
                                     &s.layout.btnReview,    &s.layout.btnStartMenu,
                                     &s.layout.btnExit,      &s.layout.btnYes,
                                     &s.layout.btnNo};
        for (int i = 0; i < 7; ++i) {
            const ButtonRect& r = *rects[i];
            images[i]->image =
                solidImage(r.right - r.left, r.bottom - r.top, gfx::Pixel(0x1000 + 0x0800 * i));
            images[i]->x = std::uint16_t(r.left);
            images[i]->y = std::uint16_t(r.top);
            all[i] = images[i];
        }
    }
    ~ButtonPictures() {
        for (ButtonImage* image : all) {
            gfx::DestroySurface(image->image);
            image->image = nullptr;
        }
    }
    static gfx::Pixel colour(int i) { return gfx::Pixel(0x1000 + 0x0800 * i); }
    ButtonImage* all[7] = {};
};

TEST_F(PaintTest, StartScreenShowsItsFiveButtons) {
    ButtonPictures pictures;
    int before = frames();
    paint();
    ASSERT_EQ(frames(), before + 1);
    auto frame = headless().lastFrame();
    const ButtonRect* rects[] = {&appState.layout.btnStartFree, &appState.layout.btnStartAB,
                                 &appState.layout.btnReview, &appState.layout.btnStartMenu,
                                 &appState.layout.btnExit};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(frame.at(rects[i]->left, rects[i]->top), ButtonPictures::colour(i));
        EXPECT_EQ(frame.at(rects[i]->right - 1, rects[i]->bottom - 1), ButtonPictures::colour(i));
    }
    EXPECT_EQ(frame.at(5, 5), kWhite);
    // Yes and No belong to the confirmation only.
    EXPECT_NE(frame.at(appState.layout.btnNo.left + 2, appState.layout.btnNo.bottom - 2),
              ButtonPictures::colour(6));
}

TEST_F(PaintTest, ConfirmationShowsThePromptWrappedWithYesAndNo) {
    ButtonPictures pictures;
    tap(appState.layout.btnExit);
    paint();
    auto frame = headless().lastFrame();
    auto lines = drawnLines(frame, kBlack);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].y, 40);  // a quarter of half the height
    EXPECT_EQ(lines[1].y, 56);
    EXPECT_EQ(joined(lines), "Do you really want to close the Program?");
    for (const DrawnLine& line : lines)
        EXPECT_EQ(line.x, (240 + 1 - 9 * int(line.text.size())) / 2) << line.text;
    EXPECT_EQ(frame.at(appState.layout.btnYes.left, appState.layout.btnYes.top),
              ButtonPictures::colour(5));
    EXPECT_EQ(frame.at(appState.layout.btnNo.left, appState.layout.btnNo.top),
              ButtonPictures::colour(6));
}

TEST_F(PaintTest, EveryMessageLineFitsTheScreen) {
    // The Russian welcome ends in a long last line that the screen's wrap would leave whole.
    for (int language = 0; language < 4; ++language) {
        appState.ui.language = std::uint8_t(language);
        for (int id : {kMsgWelcome, kMsgCloseQuestion, kMsgReviewFinished}) {
            const char* text = messageText(id);
            showMessageScreen(text);
            auto lines = drawnLines(headless().lastFrame(), kBlack);
            EXPECT_EQ(joined(lines), text) << language << "/" << id;
            for (const DrawnLine& line : lines) {
                EXPECT_LE(9 * line.text.size(), 241u) << line.text;
                EXPECT_EQ(line.x, (241 - 9 * int(line.text.size())) / 2);
            }
        }
    }
}

TEST_F(PaintTest, MessageScreenBlendsThePictureFaintlyOverWhite) {
    gfx::Surface* picture = solidImage(240, 320, kBlack);
    appState.layout.backgroundImage = picture;
    showMessageScreen("Exiting...");
    auto frame = headless().lastFrame();
    gfx::Pixel faint = frame.at(200, 300);
    EXPECT_NE(faint, kWhite);
    EXPECT_NE(faint, kBlack);
    // Less than half of the black shows: the top bits of red stay set.
    EXPECT_GE(faint >> 11, 16);
    appState.layout.backgroundImage = nullptr;
    gfx::DestroySurface(picture);
}

TEST_F(PaintTest, ExitingIsShownBeforeTheProgramEnds) {
    tap(appState.layout.btnExit);
    tap(appState.layout.btnYes);
    auto lines = drawnLines(headless().lastFrame(), kBlack);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "Exiting...");
    int before = frames();
    paint();
    EXPECT_EQ(frames(), before) << "state 7 paints nothing";
}

TEST_F(PaintTest, WorkScreenIsDrawnOnlyWhenSomethingChanged) {
    for (std::uint8_t state : {kStateFreeWork, kStateGuidance, kStateSettingAB}) {
        appState.ui.screenState = state;
        int before = frames();
        paint();
        EXPECT_EQ(frames(), before);
        appState.ui.redrawPending = 1;
        paint();
        EXPECT_EQ(frames(), before + 1);
        EXPECT_EQ(appState.ui.redrawPending, 0);
        paint();
        EXPECT_EQ(frames(), before + 1);
    }
}

// The prompt at the head of the screen while A and B are set: A first whatever the pattern,
// then B by driving straight for a straight line, or along the curve being recorded.
TEST_F(PaintTest, PromptForBFollowsThePattern) {
    AppState& s = appState;
    const struct {
        std::uint8_t pattern;
        const char* promptB;
    } cases[] = {
        {kPatternStraight, "Drive straight before to set the Point B"},
        {kPatternCurve, "Drive along the curve, then touch the screen to set the Point B"},
    };
    // The lines drawn one under the other from the top margin down.
    auto prompt = [] {
        appState.ui.promptBlink = 1;
        appState.ui.redrawPending = 1;
        paint();
        std::string text;
        int row = appState.layout.textMargin;
        for (const DrawnLine& line : drawnLines(
                 headless().lastFrame(), gfx::pixelFromColorRef(appState.settings.textColor)))
            if (line.y == row) {
                text += line.text;
                row += 16;
            }
        return text;
    };
    for (const auto& c : cases) {
        s.settings.guidancePattern = c.pattern;
        s.ui.screenState = kStateSettingAB;
        s.work.positionSet = 1;
        s.work.position = {0.0, 200.0};
        EXPECT_EQ(prompt(), "Touch the screen to set the Point A") << int(c.pattern);
        tapMap();
        ASSERT_EQ(s.work.pointASet, 1);
        s.work.position = {5.0, 260.0};
        EXPECT_EQ(prompt(), c.promptB) << int(c.pattern);
        s.work.pointASet = 0;
    }
    s.settings.guidancePattern = kPatternStraight;
    s.work.curveRecording.clear();
    s.work.positionSet = 0;
}

TEST_F(PaintTest, NothingIsPaintedWhileAMenuIsUpOrAnotherThreadDraws) {
    int before = frames();
    appState.ui.menuOpen = 1;
    for (std::uint8_t state : {kStateStart, kStateConfirm, kStateFreeWork}) {
        appState.ui.screenState = state;
        appState.ui.redrawPending = 1;
        paint();
    }
    appState.ui.menuOpen = 0;
    for (std::uint8_t state : {kStateReview, kStateGpsWait, kStateBeforeStart}) {
        appState.ui.screenState = state;
        paint();
    }
    EXPECT_EQ(frames(), before);
}

TEST_F(PaintTest, DestroyPostsTheQuitMessage) {
    EXPECT_EQ(windowProc(kMsgDestroy, 0, 0), 0);
    EXPECT_EQ(headless().quitCode(), 0);
    // Messages the machine does not handle are answered with 0 and change nothing.
    EXPECT_EQ(windowProc(273, 40000, 0), 0);
    EXPECT_EQ(appState.ui.screenState, kStateStart);
}

}  // namespace
}  // namespace screens_test
