// The section bar's place at every screen size from 240 x 320 to 1920 x 1200 in both
// orientations and in the four languages, with the program's fonts: on the screen, clear of the
// work buttons, the finish-boundary button, the guide numbers, the steering bar, the readout and
// the panel; the master's words inside their button; boxes in order, apart, large enough for a
// finger on the cab screens, and each tap landing on the box drawn there.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/FieldDrawing.h"
#include "app/FontCodePage.h"
#include "app/Layout.h"
#include "app/SectionBar.h"
#include "app/SectionControl.h"
#include "app/Texts.h"
#include "gfx/Font.h"
#include "platform/Resources.h"
#include "tests/app/LayoutSizes.h"

namespace {

using layout_test::everySize;
using layout_test::Size;

using layout_test::name;

bool overlap(const ButtonRect& a, const ButtonRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool inside(const ButtonRect& inner, const ButtonRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The rows from top to bottom, across the whole screen.
ButtonRect rows(int top, int bottom) {
    return {0, top, 1 << 20, bottom};
}

class SectionBarLayout : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { installTexts(); }
    void TearDown() override {
        appState.layout.readoutFont = nullptr;
        configureSections(SectionLayout{}, SectionRules{}, false);
        appState.ui.language = 0;
        appState.layout.screenWidth = 240;
        appState.layout.screenHeight = 320;
        appState.layout.orientation = 0;
        computeScreenMetrics();
        computeLayout();
        loadFont();
    }
};

TEST_F(SectionBarLayout, OnScreenClearOfEverythingElseAndTheMasterTextFits) {
    AppState& s = appState;
    const std::unique_ptr<gfx::Font, void (*)(gfx::Font*)> digitsFont(
        gfx::CreateLargeFont(platform::findResource("FONTS", "155-32"), 16, 32), gfx::DestroyFont);
    ASSERT_NE(digitsFont, nullptr);
    gfx::Font* const largeDigits = digitsFont.get();
    s.ui.screenState = kStateFreeWork;
    for (const Size size : everySize()) {
        SCOPED_TRACE(name(size));
        s.layout.screenWidth = std::uint16_t(size.width);
        s.layout.screenHeight = std::uint16_t(size.height);
        s.layout.orientation = size.width > size.height ? 1 : 0;
        computeScreenMetrics();
        computeLayout();
        const int k = s.layout.layoutScale;
        for (std::uint8_t language = 0; language < 4; ++language) {
            s.ui.language = language;
            loadFont();
            ASSERT_NE(s.layout.font, nullptr);
            const int line = textLineHeight(), cell = s.layout.font->cellWidth();
            const SectionBarPlace place = sectionBarPlace();
            ASSERT_TRUE(inside(place.plate, {0, 0, size.width, size.height}));
            EXPECT_TRUE(inside(place.master, place.plate));
            EXPECT_TRUE(inside(place.boxes, place.plate));
            EXPECT_LT(place.master.right, place.boxes.left);
            for (const ButtonRect* button :
                 {&s.layout.btnFinish, &s.layout.btnWorkMenu, &s.layout.btnViewToggle,
                  &s.layout.btnZoomOut, &s.layout.btnZoomIn})
                EXPECT_FALSE(overlap(place.plate, *button));
            EXPECT_FALSE(overlap(place.plate, finishBoundaryButton())) << int(language);
            // The guide numbers' row, the steering bar and the cross-track reading under it,
            // and the panel in every work state.
            const int guideRow = s.layout.guideNumberRow;
            EXPECT_FALSE(overlap(place.plate, rows(guideRow, guideRow + line)));
            const int readout = s.layout.scaledLayout && k >= 2 ? readoutHeight() : line;
            const int readoutTop = s.layout.barHeight + s.layout.textMargin;
            EXPECT_FALSE(overlap(place.plate, rows(0, readoutTop + readout)));
            // The panel goes to the bottom of a landscape screen with the large digits.
            for (gfx::Font* digits : {static_cast<gfx::Font*>(nullptr), largeDigits}) {
                s.layout.readoutFont = digits;
                for (const std::uint8_t state : {kStateFreeWork, kStateGuidance, kStateSettingAB}) {
                    const int panel = infoPanelRow(state);
                    EXPECT_FALSE(overlap(place.plate, rows(panel, panel + 2 * line)))
                        << int(state) << (digits ? ", large digits" : "");
                }
            }
            s.layout.readoutFont = nullptr;
            // Each master word within its button, a pixel clear of its edges.
            const int masterWidth = place.master.right - place.master.left;
            EXPECT_GE(place.master.bottom - place.master.top, line + 2);
            for (const int text : {kMsgSectionAuto, kMsgSectionManual, kMsgSectionOff}) {
                const int length = int(std::strlen(messageText(text)));
                EXPECT_GT(length, 0);
                EXPECT_LE(length * cell - 1 + 2, masterWidth)
                    << messageText(text) << ", language " << int(language);
            }
        }
    }
}

TEST_F(SectionBarLayout, BoxesShareTheBarInOrderAndTakeTheirOwnTaps) {
    AppState& s = appState;
    s.ui.screenState = kStateGuidance;
    s.ui.language = 0;
    for (const Size size : everySize()) {
        SCOPED_TRACE(name(size));
        s.layout.screenWidth = std::uint16_t(size.width);
        s.layout.screenHeight = std::uint16_t(size.height);
        s.layout.orientation = size.width > size.height ? 1 : 0;
        computeScreenMetrics();
        computeLayout();
        loadFont();
        const int k = s.layout.layoutScale;
        const SectionBarPlace place = sectionBarPlace();
        for (const int count : {2, 8, 64}) {
            SCOPED_TRACE(count);
            configureSections(*parseSectionLayout("", count, 6400).layout, SectionRules{}, true);
            const int share = (place.boxes.right - place.boxes.left) / count;
            ButtonRect previous{place.boxes.left, 0, place.boxes.left, 0};
            for (int i = 0; i < count; ++i) {
                const ButtonRect box = sectionBox(place, i, count);
                ASSERT_TRUE(inside(box, place.boxes)) << i;
                ASSERT_GE(box.right - box.left, 1) << i;
                // Left to right, a pixel apart or more where a share has room for it.
                ASSERT_GE(box.left - previous.right, i == 0 ? 0 : share >= 3 ? 1 : 0) << i;
                previous = box;
                const SectionBarHit hit =
                    sectionBarHitAt((box.left + box.right) / 2, (box.top + box.bottom) / 2);
                ASSERT_EQ(hit.kind, SectionBarHit::Section) << i;
                ASSERT_EQ(hit.section, i);
            }
            EXPECT_GE(previous.right, place.boxes.right - share) << "the boxes fill the bar";
            if (count == 8 && k >= 2) {
                const ButtonRect box = sectionBox(place, 0, count);
                EXPECT_GE(box.right - box.left, 20 * k) << "a finger's width";
                EXPECT_GE(box.bottom - box.top, 20 * k);
            }
            EXPECT_EQ(sectionBarHitAt((place.master.left + place.master.right) / 2,
                                      (place.master.top + place.master.bottom) / 2)
                          .kind,
                      SectionBarHit::Master);
            EXPECT_EQ(sectionBarHitAt(place.plate.left, place.plate.top - 1).kind,
                      SectionBarHit::None);
            EXPECT_EQ(sectionBarHitAt(place.plate.right, place.plate.bottom - 1).kind,
                      SectionBarHit::None);
        }
        // The review of a saved work has no bar.
        s.ui.screenState = kStateReview;
        EXPECT_EQ(sectionBarHitAt(place.master.left, place.master.top).kind, SectionBarHit::None);
        s.ui.screenState = kStateGuidance;
    }
}

// The master's words are the fonts' bytes: code page 437, and 866 for Russian.
TEST_F(SectionBarLayout, MasterWordsAreInTheFontsCodePage) {
    const char* words[4][3] = {{"Auto", "Manual", "Off"},
                               {"Auto", "Manual", "Apagado"},
                               {"Auto", "Manuell", "Aus"},
                               {"\xD0\x90\xD0\xB2\xD1\x82\xD0\xBE",                  // Авто
                                "\xD0\xA0\xD1\x83\xD1\x87\xD0\xBD\xD0\xBE\xD0\xB9",  // Ручной
                                "\xD0\x92\xD1\x8B\xD0\xBA\xD0\xBB"}};                // Выкл
    for (std::uint8_t language = 0; language < 4; ++language) {
        appState.ui.language = language;
        EXPECT_EQ(messageText(kMsgSectionAuto), inFontCodePage(words[language][0]));
        EXPECT_EQ(messageText(kMsgSectionManual), inFontCodePage(words[language][1]));
        EXPECT_EQ(messageText(kMsgSectionOff), inFontCodePage(words[language][2]));
    }
}

}  // namespace
