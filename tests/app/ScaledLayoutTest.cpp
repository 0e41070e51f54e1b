// The layout at every screen size from 240 x 320 to 1920 x 1200 in both orientations: every
// button on the screen, no two buttons of a screen on each other, the start buttons placed
// about the centre as on the handheld screens, and no text the screens draw on a button.
// The texts are drawn for real, with the program's fonts, in all four languages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/InfoPanel.h"
#include "app/Layout.h"
#include "app/MessageScreen.h"
#include "app/Texts.h"
#include "app/WorkScreen.h"
#include "gfx/Font.h"
#include "gfx/Rasterizer.h"
#include "gfx/Surface.h"
#include "platform/Resources.h"
#include "tests/app/LayoutSizes.h"

namespace {

using layout_test::everySize;
using layout_test::Size;

bool handheld(Size s) {
    return (s.width == 240 && s.height == 320) || (s.width == 320 && s.height == 240) ||
           (s.width == 480 && s.height == 640) || (s.width == 640 && s.height == 480);
}

// The layout scale as the layout is described: 1 on the small handheld screens, 2 on the large
// ones, elsewhere how many 240 x 320 (portrait) or 320 x 240 (landscape) screens fit across
// and down, at least 1.
int scaleOf(Size s) {
    if (handheld(s)) return s.width >= 480 ? 2 : 1;
    const int k = s.width > s.height ? std::min(s.width / 320, s.height / 240)
                                     : std::min(s.width / 240, s.height / 320);
    return std::max(k, 1);
}

void setScreen(Size size) {
    AppState& s = appState;
    s.layout.screenWidth = std::uint16_t(size.width);
    s.layout.screenHeight = std::uint16_t(size.height);
    s.layout.orientation = size.width > size.height ? 1 : 0;  // as the window reports it
    computeScreenMetrics();
    computeLayout();
    loadFont();
}

bool overlap(const ButtonRect& a, const ButtonRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

using layout_test::name;

void expectApart(const std::vector<const ButtonRect*>& group, Size size, const char* what) {
    for (std::size_t i = 0; i < group.size(); ++i) {
        const ButtonRect& r = *group[i];
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= size.width && r.bottom <= size.height)
            << what << " button " << i << " leaves " << name(size);
        for (std::size_t j = i + 1; j < group.size(); ++j)
            EXPECT_FALSE(overlap(r, *group[j])) << what << " " << i << " and " << j;
    }
}

// Ink of colour inside any of the rectangles.
bool inkOnButtons(const gfx::Surface& frame, gfx::Pixel ink,
                  const std::vector<const ButtonRect*>& buttons) {
    for (const ButtonRect* b : buttons)
        for (int y = b->top; y < b->bottom; ++y)
            for (int x = b->left; x < b->right; ++x)
                if (frame.pixel(x, y) == ink) return true;
    return false;
}

// The smallest rectangle holding every pixel of colour ink, for a text drawn from the top
// down: the search ends once `gap` rows without ink follow the ink found.
ButtonRect inkBox(const gfx::Surface& frame, gfx::Pixel ink, int gap) {
    ButtonRect box{frame.width(), frame.height(), 0, 0};
    for (int y = 0; y < frame.height() && (box.bottom == 0 || y < box.bottom + gap); ++y) {
        const gfx::Pixel* row = frame.row(y);
        for (int x = 0; x < frame.width(); ++x)
            if (row[x] == ink) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = y + 1;
            }
    }
    return box;
}

TEST(LayoutScale, CountsTheHandheldScreensThatFit) {
    const struct {
        Size size;
        int scale;
    } rows[] = {{{240, 320}, 1},   {{320, 240}, 1},   {{480, 640}, 2},   {{640, 480}, 2},
                {{800, 480}, 2},   {{1024, 600}, 2},  {{1280, 800}, 3},  {{1366, 768}, 3},
                {{1920, 1080}, 4}, {{1080, 1920}, 4}, {{1920, 1200}, 5}, {{280, 240}, 1},
                {{600, 1024}, 2}};
    const std::uint16_t width = appState.layout.screenWidth;
    const std::uint16_t height = appState.layout.screenHeight;
    const auto orientation = appState.layout.orientation;
    for (const auto& row : rows) {
        EXPECT_EQ(scaleOf(row.size), row.scale) << name(row.size);
        appState.layout.screenWidth = std::uint16_t(row.size.width);
        appState.layout.screenHeight = std::uint16_t(row.size.height);
        appState.layout.orientation = row.size.width > row.size.height ? 1 : 0;
        computeScreenMetrics();
        EXPECT_EQ(appState.layout.layoutScale, row.scale) << name(row.size);
        EXPECT_EQ(appState.layout.halfScreenHeight, row.size.height / 2) << name(row.size);
    }
    appState.layout.screenWidth = width;
    appState.layout.screenHeight = height;
    appState.layout.orientation = orientation;
    computeScreenMetrics();
}

class ScaledLayout : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { installTexts(); }
    void TearDown() override {
        gfx::DestroyFont(appState.layout.readoutFont);
        appState.layout.readoutFont = nullptr;
        appState.ui.language = 0;
        loadFont();
    }
};

TEST_F(ScaledLayout, ButtonsStayOnTheScreenApartAndCentred) {
    AppState& s = appState;
    for (const Size size : everySize()) {
        SCOPED_TRACE(name(size));
        setScreen(size);
        const int k = scaleOf(size);
        ASSERT_EQ(s.layout.layoutScale, k);
        const bool landscape = size.width > size.height;
        expectApart({&s.layout.btnFinish, &s.layout.btnWorkMenu, &s.layout.btnViewToggle,
                     &s.layout.btnZoomOut, &s.layout.btnZoomIn},
                    size, "work");
        expectApart({&s.layout.btnStartFree, &s.layout.btnStartAB, &s.layout.btnReview,
                     &s.layout.btnStartMenu, &s.layout.btnExit},
                    size, "start");
        expectApart({&s.layout.btnYes, &s.layout.btnNo}, size, "confirm");
        // Twice as large as the handheld's buttons on a doubled screen and so on.
        EXPECT_EQ(s.layout.btnFinish.right - s.layout.btnFinish.left, 48 * k);
        EXPECT_EQ(s.layout.btnStartAB.bottom - s.layout.btnStartAB.top, 40 * k);

        // The start buttons: their block is centred across, and its gaps above and below
        // differ as on the handheld screen of the orientation, k times.
        int left = size.width, right = 0, top = size.height, bottom = 0;
        for (const ButtonRect* b :
             {&s.layout.btnStartFree, &s.layout.btnStartAB, &s.layout.btnReview,
              &s.layout.btnStartMenu, &s.layout.btnExit}) {
            left = std::min(left, b->left);
            right = std::max(right, b->right);
            top = std::min(top, b->top);
            bottom = std::max(bottom, b->bottom);
        }
        EXPECT_LE(std::abs((left + right) - size.width), 1) << "centred across";
        // 240 x 320: 20 above, 20 below; 320 x 240: 20 above, 60 below.
        const int handheldDifference = landscape ? 40 : 0;
        EXPECT_LE(std::abs((size.height - bottom) - top - handheldDifference * k), 1)
            << "top " << top << " bottom " << bottom;
        if (!landscape) {
            // The work buttons' row is centred too.
            EXPECT_LE(std::abs(s.layout.btnFinish.left + s.layout.btnZoomIn.right - size.width), 1);
        }
    }
}

// Every text of the work screen and of the confirmation screen, with the longest values, in
// every language: none on a button, and the prompts for A and B none on the panel either.
TEST_F(ScaledLayout, NoTextOnAButton) {
    AppState& s = appState;
    constexpr gfx::Pixel kInk = 0x001F;  // the default text colour, pure blue
    for (const Size size : everySize()) {
        SCOPED_TRACE(name(size));
        s.layout.screenWidth = std::uint16_t(size.width);
        s.layout.screenHeight = std::uint16_t(size.height);
        s.layout.orientation = size.width > size.height ? 1 : 0;
        computeScreenMetrics();
        computeLayout();
        gfx::DestroyFont(s.layout.readoutFont);
        s.layout.readoutFont =
            s.layout.scaledLayout && s.layout.layoutScale >= 2
                ? gfx::CreateLargeFont(platform::findResource("FONTS", "155-32"), 16, 32)
                : nullptr;
        // Where the screens put their texts, from the screen's size: the pause notice 27 rows
        // (k times on the scaled layouts) below the middle, the prompts 2 k rows from the top.
        const int k = scaleOf(size);
        const int pausedRow = size.height / 2 + 27 * k;
        const int promptRow = 2 * k;
        gfx::Surface* frame = gfx::CreateSurface(size.width, size.height);
        ASSERT_NE(frame, nullptr);
        gfx::Rasterizer r(frame);
        for (std::uint8_t language = 0; language < 4; ++language) {
            s.ui.language = language;
            loadFont();
            ASSERT_NE(s.layout.font, nullptr);
            s.settings.textColor = 0x00FF0000;
            s.work.workedArea = 9999.99e6;
            s.work.distance = 999999;
            s.fix.speedKnots = 99.0f;
            s.fix.satellitesUsed = 24;
            s.fix.hdop = 99.9f;
            s.guide.crossTrack = -999.0;
            s.settings.arrowTolerance = 10;
            s.guide.steerLeft = 0;
            // The handheld screens keep their rows, the turned ones in guidance included
            // (the panel's row wraps onto the side buttons there); they are checked in their
            // reference frames instead.
            if (!handheld(size)) {
                for (const std::uint8_t state : {kStateFreeWork, kStateGuidance}) {
                    r.Clear(0);
                    s.ui.screenState = state;
                    drawInfoPanel(r);
                    r.DrawString(s.layout.font, messageText(kMsgPaused), gfx::kAlignCentre, 0,
                                 pausedRow, kInk);
                    EXPECT_FALSE(inkOnButtons(
                        *frame, kInk,
                        {&s.layout.btnFinish, &s.layout.btnWorkMenu, &s.layout.btnViewToggle,
                         &s.layout.btnZoomOut, &s.layout.btnZoomIn}))
                        << "work screen, state " << int(state) << ", language " << int(language);
                }
            }
            // The prompts while A and B are set, wrapped at the top as the work screen draws
            // them: clear of the buttons and of the panel's lines, at every size.
            s.ui.screenState = kStateSettingAB;
            r.Clear(0);
            drawInfoPanel(r);
            for (const int prompt : {kMsgPromptA, kMsgPromptB, kMsgPromptCurveB}) {
                constexpr gfx::Pixel kPromptInk = 0xF800;
                const char* text = messageText(prompt);
                r.DrawWrappedString(s.layout.font, text, gfx::kAlignCentre, 0, promptRow,
                                    kPromptInk);
                const ButtonRect box = inkBox(*frame, kPromptInk, s.layout.font->cellHeight());
                ASSERT_LT(box.top, box.bottom) << "prompt " << prompt << " drew nothing";
                EXPECT_TRUE(box.left > 0 && box.right < size.width)
                    << "prompt " << prompt << " cut at the edge, language " << int(language);
                EXPECT_FALSE(inkOnButtons(*frame, kInk, {&box}))
                    << "prompt " << prompt << " on the panel, language " << int(language);
                for (const ButtonRect* button :
                     {&s.layout.btnFinish, &s.layout.btnWorkMenu, &s.layout.btnViewToggle,
                      &s.layout.btnZoomOut, &s.layout.btnZoomIn})
                    EXPECT_FALSE(overlap(box, *button))
                        << "prompt " << prompt << " on a button, language " << int(language);
                // Drawn again in the background colour, the prompt is gone for the next one.
                r.DrawWrappedString(s.layout.font, text, gfx::kAlignCentre, 0, promptRow, 0);
            }
            for (const int question : {kMsgSaveQuestion, kMsgCloseQuestion, kMsgFinishQuestion}) {
                r.Clear(0xFFFF);
                drawMessageLayout(r, messageText(question));
                EXPECT_FALSE(inkOnButtons(*frame, 0x0000, {&s.layout.btnYes, &s.layout.btnNo}))
                    << "question " << question << ", language " << int(language);
            }
        }
        gfx::DestroySurface(frame);
    }
}

}  // namespace
