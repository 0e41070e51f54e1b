// Where every button is, for portrait and landscape, on every screen size; computed once at
// start from the screen size and orientation in appState.
//
// The four handheld screens (240 x 320 and 480 x 640, portrait and landscape) keep their
// layouts to the pixel. Every other screen gets a layout scale k from its size (how many
// 240 x 320 portrait or 320 x 240 landscape screens fit across and down): every size is k
// times the handheld's, and the groups of buttons keep the handheld's places relative to the
// screen's edges and centre.
#pragma once

#include <cstdint>

// The layout scale of a screen: 1 or 2 on the handheld screens, otherwise the whole number of
// handheld screens that fit, at least 1.
int layoutScaleFor(int width, int height, bool landscape);
// Rows of the layout's text font: 16 up to the doubled layout, 24 at 3 and 32 from 4 up.
int layoutFontHeight();

// The cross-track error is shown in the large digits: scaled layouts from the doubled one up.
bool largeReadout();
// The large digits' magnification of the 16 x 32 font: digits at least a twelfth of the screen
// high where the reading fits across; and the height of the plate under them.
inline constexpr int kReadoutDigitRows = 20;  // rows 6 to 25 of the font's cell
inline constexpr int kReadoutPlateRows = 24;  // rows 4 to 27: digits, pointers and a margin
inline constexpr int kReadoutPlateTopRow = 4;
int readoutScale();
int readoutHeight();
// The information panel's first row in a screen state, and the distance of its lines.
int infoPanelRow(std::uint8_t state);
int textLineHeight();

// Sets the screen metrics derived from screenWidth and screenHeight (halves, limits, the guide
// number row, the layout scale and wide layout flag).
void computeScreenMetrics();
// Sets barHeight, arrowSpacing, textMargin, every button rectangle and every button picture's
// position.
void computeLayout();
