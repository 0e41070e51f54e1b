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
    return appState.layout.orientation == 1 || appState.layout.orientation == 3;
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
    if (!s.layout.scaledLayout || s.layout.layoutScale <= 2) return 16;
    return s.layout.layoutScale == 3 ? 24 : 32;
}

bool largeReadout() {
    return appState.layout.scaledLayout && appState.layout.layoutScale >= 2 &&
           appState.layout.readoutFont;
}

int readoutScale() {
    // Digits (20 of the font's 32 rows) at least a twelfth of the screen's height, as far as
    // a reading of 7 characters ("\x112.35 m") fits across the screen.
    const int twelfth = (appState.layout.screenHeight + 11) / 12;
    const int across = appState.layout.screenWidth / (7 * 17);
    return std::max(1, std::min((twelfth + kReadoutDigitRows - 1) / kReadoutDigitRows, across));
}

int readoutHeight() {
    return kReadoutPlateRows * readoutScale();
}

int infoPanelRow(std::uint8_t state) {
    const AppState& s = appState;
    const bool guidanceRows = state == kStateGuidance || state == kStateSettingAB;
    if (s.layout.scaledLayout) {
        if (!guidanceRows) return s.layout.textMargin;
        // A landscape screen has no room above the vehicle for both the large digits and the
        // panel: the panel goes to the bottom, between the two columns of buttons.
        if (largeReadout() && isLandscape())
            return s.layout.screenHeight - s.layout.textMargin - 2 * textLineHeight();
        const int readout = largeReadout()  ? readoutHeight()
                            : s.layout.font ? s.layout.font->height
                                            : 16;
        return s.layout.barHeight + s.layout.textMargin + readout + s.layout.textMargin;
    }
    // The handheld rows are a byte: on a turned screen in guidance the row wraps round (320
    // high: row 32).
    if (isLandscape() && guidanceRows) return std::uint8_t(s.layout.screenHeight + 224);
    if (guidanceRows) return std::uint8_t(s.layout.barHeight + s.layout.textMargin + 32);
    return s.layout.textMargin;
}

int textLineHeight() {
    return appState.layout.font ? appState.layout.font->cellHeight() : 16;
}

void computeScreenMetrics() {
    AppState& s = appState;
    s.layout.halfScreenHeight = s.layout.screenHeight >> 1;
    s.layout.scaledLayout = !isHandheldScreen(s.layout.screenWidth, s.layout.screenHeight);
    s.layout.layoutScale =
        std::uint8_t(layoutScaleFor(s.layout.screenWidth, s.layout.screenHeight, isLandscape()));
    s.layout.wideLayout = s.layout.layoutScale >= 2;
    s.layout.screenHeightLimit = std::uint16_t(s.layout.screenHeight + 50);
    s.layout.screenWidthLimit = std::uint16_t(s.layout.screenWidth + 50);
    s.layout.guideNumberRow = std::uint16_t(s.layout.screenHeight - 64 * s.layout.layoutScale);
    s.layout.halfScreenWidth = s.layout.screenWidth >> 1;
}

void computeLayout() {
    AppState& s = appState;
    const int k = s.layout.layoutScale;
    s.layout.barHeight = std::uint8_t(27 * k);
    s.layout.arrowSpacing = std::uint8_t(20 * k);
    s.layout.textMargin = std::uint8_t(2 * k);

    const int W = s.layout.screenWidth, H = s.layout.screenHeight;
    const int hw = s.layout.halfScreenWidth, hh = s.layout.halfScreenHeight;
    const int S = 48 * k;
    const int startW = 140 * k, startH = 40 * k;

    if (isLandscape()) {
        place(s.layout.btnFinish, s.layout.imgFinish, rectAt(0, H - S, S, S));
        place(s.layout.btnWorkMenu, s.layout.imgWorkMenu, rectAt(0, H - 3 * S, S, S));
        place(s.layout.btnViewToggle, s.layout.imgViewToggle, rectAt(0, H - 2 * S, S, S));
        place(s.layout.btnZoomOut, s.layout.imgZoomOut, rectAt(W - S, H - S, S, S));
        place(s.layout.btnZoomIn, s.layout.imgZoomIn, rectAt(W - S, H - 2 * S, S, S));
        // Two columns in a 320 x 240 block, the block in the middle of the screen (on the
        // handheld screens the block is the screen).
        const int x0 = s.layout.scaledLayout ? hw - 160 * k : 0;
        const int y0 = s.layout.scaledLayout ? hh - 120 * k : 0;
        const int left = x0 + 10 * k, right = x0 + 170 * k;
        place(s.layout.btnStartFree, s.layout.imgStartFree,
              rectAt(left, y0 + 20 * k, startW, startH));
        place(s.layout.btnStartAB, s.layout.imgStartAB, rectAt(left, y0 + 80 * k, startW, startH));
        place(s.layout.btnReview, s.layout.imgReview, rectAt(left, y0 + 140 * k, startW, startH));
        place(s.layout.btnStartMenu, s.layout.imgStartMenu,
              rectAt(right, y0 + 20 * k, startW, startH));
        place(s.layout.btnExit, s.layout.imgExit, rectAt(right, y0 + 80 * k, startW, startH));
    } else {
        // The row of work buttons along the bottom, centred (on the handheld screens it fills
        // the width).
        const int x0 = hw - 5 * S / 2;
        place(s.layout.btnFinish, s.layout.imgFinish, rectAt(x0, H - S, S, S));
        place(s.layout.btnWorkMenu, s.layout.imgWorkMenu, rectAt(x0 + S, H - S, S, S));
        place(s.layout.btnViewToggle, s.layout.imgViewToggle, rectAt(x0 + 2 * S, H - S, S, S));
        place(s.layout.btnZoomOut, s.layout.imgZoomOut, rectAt(x0 + 3 * S, H - S, S, S));
        place(s.layout.btnZoomIn, s.layout.imgZoomIn, rectAt(x0 + 4 * S, H - S, S, S));
        const int x = hw - 70 * k;
        const int y0 = s.layout.scaledLayout ? hh - 160 * k : 0;
        place(s.layout.btnStartFree, s.layout.imgStartFree, rectAt(x, y0 + 20 * k, startW, startH));
        place(s.layout.btnStartAB, s.layout.imgStartAB, rectAt(x, y0 + 80 * k, startW, startH));
        place(s.layout.btnReview, s.layout.imgReview, rectAt(x, y0 + 140 * k, startW, startH));
        place(s.layout.btnStartMenu, s.layout.imgStartMenu,
              rectAt(x, y0 + 200 * k, startW, startH));
        place(s.layout.btnExit, s.layout.imgExit, rectAt(x, y0 + 260 * k, startW, startH));
    }
    // Yes and No sit in the middle in both orientations; the GPS-wait buttons share them.
    place(s.layout.btnYes, s.layout.imgYes, rectAt(hw - 80 * k, hh - 50 * k, 160 * k, 76 * k));
    place(s.layout.btnNo, s.layout.imgNo, rectAt(hw - 80 * k, hh + 30 * k, 160 * k, 76 * k));
    s.layout.imgGpsSettings.x = s.layout.imgYes.x;
    s.layout.imgGpsSettings.y = s.layout.imgYes.y;
    s.layout.imgGpsCancel.x = s.layout.imgNo.x;
    s.layout.imgGpsCancel.y = s.layout.imgNo.y;
}
