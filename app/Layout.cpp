#include "app/Layout.h"

#include <algorithm>

#include "app/AppState.h"
#include "gfx/Font.h"

namespace {

bool isHandheldScreen(int width, int height) {
    return (width == 240 && height == 320) || (width == 320 && height == 240) ||
           (width == 480 && height == 640) || (width == 640 && height == 480);
}

bool isLandscape() {
    return appState.orientation == 1 || appState.orientation == 3;
}

ButtonRect rectAt(int x, int y, int width, int height) {
    return {x, y, x + width, y + height};
}

void place(ButtonRect& rect, ButtonImage& image, ButtonRect where) {
    rect = where;
    image.x = std::uint16_t(where.left);
    image.y = std::uint16_t(where.top);
}

}  // namespace

int layoutScaleFor(int width, int height, bool landscape) {
    if (isHandheldScreen(width, height)) return width >= 480 ? 2 : 1;
    // Off the handheld screens the window is turned to its longer side (rotationFor), also
    // before the orientation is known.
    landscape = landscape || width > height;
    const int k =
        landscape ? std::min(width / 320, height / 240) : std::min(width / 240, height / 320);
    return std::max(k, 1);
}

int layoutFontHeight() {
    const AppState& s = appState;
    if (!s.scaledLayout || s.layoutScale <= 2) return 16;
    return s.layoutScale == 3 ? 24 : 32;
}

bool largeReadout() {
    return appState.scaledLayout && appState.layoutScale >= 2 && appState.readoutFont;
}

int readoutScale() {
    // Digits (20 of the font's 32 rows) at least a twelfth of the screen's height, as far as
    // a reading of 7 characters ("\x112.35 m") fits across the screen.
    const int twelfth = (appState.screenHeight + 11) / 12;
    const int across = appState.screenWidth / (7 * 17);
    return std::max(1, std::min((twelfth + kReadoutDigitRows - 1) / kReadoutDigitRows, across));
}

int readoutHeight() {
    return kReadoutPlateRows * readoutScale();
}

int infoPanelRow(std::uint8_t state) {
    const AppState& s = appState;
    const bool guidanceRows = state == kStateGuidance || state == kStateSettingAB;
    if (s.scaledLayout) {
        if (!guidanceRows) return s.textMargin;
        // A landscape screen has no room above the vehicle for both the large digits and the
        // panel: the panel goes to the bottom, between the two columns of buttons.
        if (largeReadout() && isLandscape())
            return s.screenHeight - s.textMargin - 2 * textLineHeight();
        const int readout = largeReadout() ? readoutHeight() : s.font ? s.font->height : 16;
        return s.barHeight + s.textMargin + readout + s.textMargin;
    }
    // The handheld rows are a byte: on a turned screen in guidance the row wraps round (320
    // high: row 32).
    if (isLandscape() && guidanceRows) return std::uint8_t(s.screenHeight + 224);
    if (guidanceRows) return std::uint8_t(s.barHeight + s.textMargin + 32);
    return s.textMargin;
}

int textLineHeight() {
    return appState.font ? appState.font->cellHeight() : 16;
}

void computeScreenMetrics() {
    AppState& s = appState;
    s.halfScreenHeight = s.screenHeight >> 1;
    s.scaledLayout = !isHandheldScreen(s.screenWidth, s.screenHeight);
    s.layoutScale = std::uint8_t(layoutScaleFor(s.screenWidth, s.screenHeight, isLandscape()));
    s.wideLayout = s.layoutScale >= 2;
    s.screenHeightLimit = std::uint16_t(s.screenHeight + 50);
    s.screenWidthLimit = std::uint16_t(s.screenWidth + 50);
    s.guideNumberRow = std::uint16_t(s.screenHeight - 64 * s.layoutScale);
    s.halfScreenWidth = s.screenWidth >> 1;
}

void computeLayout() {
    AppState& s = appState;
    const int k = s.layoutScale;
    s.barHeight = std::uint8_t(27 * k);
    s.arrowSpacing = std::uint8_t(20 * k);
    s.textMargin = std::uint8_t(2 * k);

    const int W = s.screenWidth, H = s.screenHeight;
    const int hw = s.halfScreenWidth, hh = s.halfScreenHeight;
    const int S = 48 * k;
    const int startW = 140 * k, startH = 40 * k;

    if (isLandscape()) {
        place(s.btnFinish, s.imgFinish, rectAt(0, H - S, S, S));
        place(s.btnWorkMenu, s.imgWorkMenu, rectAt(0, H - 3 * S, S, S));
        place(s.btnViewToggle, s.imgViewToggle, rectAt(0, H - 2 * S, S, S));
        place(s.btnZoomOut, s.imgZoomOut, rectAt(W - S, H - S, S, S));
        place(s.btnZoomIn, s.imgZoomIn, rectAt(W - S, H - 2 * S, S, S));
        // Two columns in a 320 x 240 block, the block in the middle of the screen (on the
        // handheld screens the block is the screen).
        const int x0 = s.scaledLayout ? hw - 160 * k : 0;
        const int y0 = s.scaledLayout ? hh - 120 * k : 0;
        const int left = x0 + 10 * k, right = x0 + 170 * k;
        place(s.btnStartFree, s.imgStartFree, rectAt(left, y0 + 20 * k, startW, startH));
        place(s.btnStartAB, s.imgStartAB, rectAt(left, y0 + 80 * k, startW, startH));
        place(s.btnReview, s.imgReview, rectAt(left, y0 + 140 * k, startW, startH));
        place(s.btnStartMenu, s.imgStartMenu, rectAt(right, y0 + 20 * k, startW, startH));
        place(s.btnExit, s.imgExit, rectAt(right, y0 + 80 * k, startW, startH));
    } else {
        // The row of work buttons along the bottom, centred (on the handheld screens it fills
        // the width).
        const int x0 = hw - 5 * S / 2;
        place(s.btnFinish, s.imgFinish, rectAt(x0, H - S, S, S));
        place(s.btnWorkMenu, s.imgWorkMenu, rectAt(x0 + S, H - S, S, S));
        place(s.btnViewToggle, s.imgViewToggle, rectAt(x0 + 2 * S, H - S, S, S));
        place(s.btnZoomOut, s.imgZoomOut, rectAt(x0 + 3 * S, H - S, S, S));
        place(s.btnZoomIn, s.imgZoomIn, rectAt(x0 + 4 * S, H - S, S, S));
        const int x = hw - 70 * k;
        const int y0 = s.scaledLayout ? hh - 160 * k : 0;
        place(s.btnStartFree, s.imgStartFree, rectAt(x, y0 + 20 * k, startW, startH));
        place(s.btnStartAB, s.imgStartAB, rectAt(x, y0 + 80 * k, startW, startH));
        place(s.btnReview, s.imgReview, rectAt(x, y0 + 140 * k, startW, startH));
        place(s.btnStartMenu, s.imgStartMenu, rectAt(x, y0 + 200 * k, startW, startH));
        place(s.btnExit, s.imgExit, rectAt(x, y0 + 260 * k, startW, startH));
    }
    // Yes and No sit in the middle in both orientations; the GPS-wait buttons share them.
    place(s.btnYes, s.imgYes, rectAt(hw - 80 * k, hh - 50 * k, 160 * k, 76 * k));
    place(s.btnNo, s.imgNo, rectAt(hw - 80 * k, hh + 30 * k, 160 * k, 76 * k));
    s.imgGpsSettings.x = s.imgYes.x;
    s.imgGpsSettings.y = s.imgYes.y;
    s.imgGpsCancel.x = s.imgNo.x;
    s.imgGpsCancel.y = s.imgNo.y;
}
