// Where everything is on this screen: its size and orientation, the scale of the layout, the
// buttons and their pictures, the fonts and the display drawn to.
#pragma once

#include <cstdint>

#include "app/ButtonRect.h"

namespace gfx {
class Surface;
class Display;
struct Font;
}  // namespace gfx
class DashedLine;

// A screen point of the work screen.
struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// A button's picture and where its top-left corner is drawn.
struct ButtonImage {
    gfx::Surface* image = nullptr;
    std::uint16_t x = 0;
    std::uint16_t y = 0;
};

struct ScreenLayout {
    char moduleDir[4096] = {};      // folder of the executable, ending with '/'
    std::uint32_t orientation = 0;  // 0 none, 1 = 90, 2 = 180, 3 = 270 degrees
    std::uint16_t screenWidth = 0;
    std::uint16_t screenHeight = 0;
    std::uint16_t halfScreenWidth = 0;
    std::uint16_t halfScreenHeight = 0;
    std::uint16_t screenWidthLimit = 0;   // width + 50: visibility limit of track drawing
    std::uint16_t screenHeightLimit = 0;  // height + 50
    std::uint16_t guideNumberRow = 0;
    std::uint8_t wideLayout = 0;  // layoutScale >= 2: the doubled pictures and sizes
    // Every size and offset of the layout is this many times the handheld's.
    std::uint8_t layoutScale = 1;
    // Not one of the four handheld screens: positions follow the screen's edges and centre,
    // the larger fonts and pictures apply and the cross-track error is shown large.
    std::uint8_t scaledLayout = 0;
    std::uint8_t barHeight = 0;
    std::uint8_t arrowSpacing = 0;
    std::uint8_t textMargin = 0;

    ButtonRect btnYes, btnNo, btnZoomIn, btnZoomOut, btnWorkMenu, btnViewToggle, btnFinish,
        btnStartFree, btnStartAB, btnReview, btnStartMenu, btnExit;
    ButtonImage imgYes, imgNo, imgZoomIn, imgZoomOut, imgWorkMenu, imgViewToggle, imgFinish,
        imgStartFree, imgStartAB, imgReview, imgStartMenu, imgExit, imgGpsSettings, imgGpsCancel;
    gfx::Surface* arrowRightImage = nullptr;  // drawn right of centre when steerLeft is set
    gfx::Surface* arrowLeftImage = nullptr;

    gfx::Display* display = nullptr;
    gfx::Font* font = nullptr;
    gfx::Font* readoutFont = nullptr;  // the large cross-track digits (16 x 32), scaled layouts
    gfx::Surface* backgroundImage = nullptr;
    gfx::Surface* pictureImage = nullptr;  // work-screen picture background (key 'f')
    ScreenPoint pictureQuad[4] = {{0, 0}, {240, 0}, {240, 320}, {0, 320}};
    gfx::Surface* vehicleSource = nullptr;
    gfx::Surface* vehicleImage = nullptr;
    DashedLine* dashLine = nullptr;
};
