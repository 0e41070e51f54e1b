#include "app/Layout.h"

#include "app/AppState.h"

void computeScreenMetrics() {
    AppState& s = appState;
    s.halfScreenHeight = s.screenHeight >> 1;
    s.wideLayout = s.screenWidth >= 480;
    s.screenHeightLimit = std::uint16_t(s.screenHeight + 50);
    s.screenWidthLimit = std::uint16_t(s.screenWidth + 50);
    s.guideNumberRow = std::uint16_t(s.screenHeight - (s.wideLayout ? 128 : 64));
    s.halfScreenWidth = s.screenWidth >> 1;
}

namespace {

ButtonRect rectAt(int x, int y, int width, int height) {
    return {x, y, x + width, y + height};
}

void place(ButtonRect& rect, ButtonImage& image, ButtonRect where) {
    rect = where;
    image.x = std::uint16_t(where.left);
    image.y = std::uint16_t(where.top);
}

}  // namespace

void computeLayout() {
    AppState& s = appState;
    const int k = s.wideLayout ? 2 : 1;  // the wide layout doubles every size and offset
    s.barHeight = std::uint8_t(27 * k);
    s.arrowSpacing = std::uint8_t(20 * k);
    s.textMargin = std::uint8_t(2 * k);

    const int W = s.screenWidth, H = s.screenHeight;
    const int hw = s.halfScreenWidth, hh = s.halfScreenHeight;
    const int S = 48 * k;
    const int startW = 140 * k, startH = 40 * k;
    const bool landscape = s.orientation == 1 || s.orientation == 3;

    if (landscape) {
        place(s.btnFinish, s.imgFinish, rectAt(0, H - S, S, S));
        place(s.btnWorkMenu, s.imgWorkMenu, rectAt(0, H - 3 * S, S, S));
        place(s.btnViewToggle, s.imgViewToggle, rectAt(0, H - 2 * S, S, S));
        place(s.btnZoomOut, s.imgZoomOut, rectAt(W - S, H - S, S, S));
        place(s.btnZoomIn, s.imgZoomIn, rectAt(W - S, H - 2 * S, S, S));
        const int left = 10 * k, right = 170 * k;
        place(s.btnStartFree, s.imgStartFree, rectAt(left, 20 * k, startW, startH));
        place(s.btnStartAB, s.imgStartAB, rectAt(left, 80 * k, startW, startH));
        place(s.btnReview, s.imgReview, rectAt(left, 140 * k, startW, startH));
        place(s.btnStartMenu, s.imgStartMenu, rectAt(right, 20 * k, startW, startH));
        place(s.btnExit, s.imgExit, rectAt(right, 80 * k, startW, startH));
    } else {
        place(s.btnFinish, s.imgFinish, rectAt(0, H - S, S, S));
        place(s.btnWorkMenu, s.imgWorkMenu, rectAt(S, H - S, S, S));
        place(s.btnViewToggle, s.imgViewToggle, rectAt(2 * S, H - S, S, S));
        place(s.btnZoomOut, s.imgZoomOut, rectAt(3 * S, H - S, S, S));
        place(s.btnZoomIn, s.imgZoomIn, rectAt(4 * S, H - S, S, S));
        const int x = hw - 70 * k;
        place(s.btnStartFree, s.imgStartFree, rectAt(x, 20 * k, startW, startH));
        place(s.btnStartAB, s.imgStartAB, rectAt(x, 80 * k, startW, startH));
        place(s.btnReview, s.imgReview, rectAt(x, 140 * k, startW, startH));
        place(s.btnStartMenu, s.imgStartMenu, rectAt(x, 200 * k, startW, startH));
        place(s.btnExit, s.imgExit, rectAt(x, 260 * k, startW, startH));
    }
    // Yes and No sit in the middle in both orientations; the GPS-wait buttons share them.
    place(s.btnYes, s.imgYes, rectAt(hw - 80 * k, hh - 50 * k, 160 * k, 76 * k));
    place(s.btnNo, s.imgNo, rectAt(hw - 80 * k, hh + 30 * k, 160 * k, 76 * k));
    s.imgGpsSettings.x = s.imgYes.x;
    s.imgGpsSettings.y = s.imgYes.y;
    s.imgGpsCancel.x = s.imgNo.x;
    s.imgGpsCancel.y = s.imgNo.y;
}
