// The window's world for screen tests: the headless platform, a real 240 x 320 display whose
// frames reach that platform, the normal portrait layout, and a font whose glyphs can be read
// back from a frame (see FrameText.h).
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <thread>

#include "app/AppState.h"
#include "app/GpsWait.h"
#include "app/Texts.h"
#include "app/WindowProc.h"
#include "app/WorkSession.h"
#include "gfx/Display.h"
#include "gfx/Font.h"
#include "gfx/Surface.h"
#include "platform/HeadlessPlatform.h"

namespace screens_test {

// Glyph n carries its own code in its top row and a solid marker row under it, so that the
// bytes of a drawn text can be read back from the pixels.
inline gfx::Font* readableFont() {
    static std::uint8_t bytes[gfx::Font::kSize];
    for (int n = 0; n < 256; ++n) {
        bytes[n * 16] = std::uint8_t(n);
        bytes[n * 16 + 1] = 0xFF;
    }
    static gfx::Font* font = gfx::CreateFont(bytes);
    return font;
}

inline platform::HeadlessPlatform& headless() {
    static platform::HeadlessPlatform instance;
    return instance;
}

inline void presentToPlatform(const std::uint16_t* pixels, int width, int height, int pitch) {
    platform::current().presentFrame(pixels, width, height, pitch);
}

// A plain picture of one colour, standing in for a button image.
inline gfx::Surface* solidImage(int width, int height, gfx::Pixel colour) {
    gfx::Surface* surface = gfx::CreateSurface(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) surface->row(y)[x] = colour;
    return surface;
}

// The normal layout of a 240 x 320 portrait screen.
inline void portraitLayout() {
    AppState& s = appState;
    s.layout.screenWidth = 240;
    s.layout.screenHeight = 320;
    s.layout.halfScreenWidth = 120;
    s.layout.halfScreenHeight = 160;
    s.layout.screenWidthLimit = 290;
    s.layout.screenHeightLimit = 370;
    s.layout.guideNumberRow = 256;
    s.layout.wideLayout = 0;
    s.layout.barHeight = 27;
    s.layout.arrowSpacing = 20;
    s.layout.textMargin = 2;
    s.layout.orientation = 0;
    const int S = 48, H = 320, hw = 120, hh = 160;
    auto rect = [](int x, int y, int w, int h) { return ButtonRect{x, y, x + w, y + h}; };
    s.layout.btnFinish = rect(0, H - S, S, S);
    s.layout.btnWorkMenu = rect(S, H - S, S, S);
    s.layout.btnViewToggle = rect(2 * S, H - S, S, S);
    s.layout.btnZoomOut = rect(3 * S, H - S, S, S);
    s.layout.btnZoomIn = rect(4 * S, H - S, S, S);
    s.layout.btnStartFree = rect(hw - 70, 20, 140, 40);
    s.layout.btnStartAB = rect(hw - 70, 80, 140, 40);
    s.layout.btnReview = rect(hw - 70, 140, 140, 40);
    s.layout.btnStartMenu = rect(hw - 70, 200, 140, 40);
    s.layout.btnExit = rect(hw - 70, 260, 140, 40);
    s.layout.btnYes = rect(hw - 80, hh - 50, 160, 76);
    s.layout.btnNo = rect(hw - 80, hh + 30, 160, 76);
}

// Watches for the settings sheet during one tap: notes what the screen looked like while it
// was up, then closes it as a driver's Cancel would.
class MenuWatcher {
  public:
    MenuWatcher() {
        timer_.setSingleShot(true);
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* sheet = QApplication::activeModalWidget();
            if (!sheet) {
                timer_.start(5);
                return;
            }
            opened = true;
            menuOpenWhileUp = appState.ui.menuOpen;
            menuDuringReviewWhileUp = appState.ui.menuDuringReview;
            pausedWhileUp = appState.ui.paused;
            waitingWhileUp = appState.ui.waitingForFix;
            sheet->close();
        });
        timer_.start();
    }

    bool opened = false;
    int menuOpenWhileUp = -1;
    int menuDuringReviewWhileUp = -1;
    int pausedWhileUp = -1;
    int waitingWhileUp = -1;

  private:
    QTimer timer_;
};

class ScreenTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        platform::install(&headless());
        installTexts();
        if (!appState.layout.display) {
            gfx::setPresentHook(presentToPlatform);
            gfx::setBackendScreen(240, 320);
            gfx::setBackendOrientation(0);
            gfx::DisplayParameters parameters{0, 0, 0, 1};
            appState.layout.display = gfx::Display::Create(nullptr, parameters);
        }
        appState.layout.font = readableFont();
    }

    void SetUp() override {
        ASSERT_NE(appState.layout.display, nullptr);
        portraitLayout();
        AppState& s = appState;
        s.ui.screenState = kStateStart;
        s.ui.returnState = s.ui.savedState = s.ui.confirmKind = 0;
        s.ui.promptText[0] = 0;
        s.ui.language = 0;
        for (Flag* flag : {&s.ui.menuOpen, &s.ui.paused, &s.ui.reviewRunning,
                           &s.ui.menuDuringReview, &s.ui.pauseNoticePending, &s.ui.waitingForFix,
                           &s.ui.redrawPending, &s.ui.pictureBackground, &s.ui.abReady})
            *flag = 0;
        resetWork();
        s.settings.zoom = 3.0f;
        s.settings.implementHalfWidth = 600;
        s.settings.implementWidth = 1200;
        s.fix.fixQuality = 0;
        s.settings.textColor = 0x00FF0000;
        s.layout.backgroundImage = nullptr;
    }

    // No wait thread outlives its test.
    void TearDown() override { stopGpsWait(); }

  public:
    static void tapAt(int x, int y) {
        windowProc(kMsgPenDown, 0, std::intptr_t(packPenPosition(x, y)));
    }
    static void tap(const ButtonRect& button) { tapAt(button.left + 1, button.top + 1); }
    // A point of the work screen that is on no button.
    static void tapMap() { tapAt(120, 150); }
    static void paint() { windowProc(kMsgPaint, 0, 0); }

    static int frames() { return headless().framesPresented(); }
    // Waits for another thread's frames; false when they do not come within the time.
    static bool waitForFrames(int count, std::chrono::milliseconds limit) {
        auto end = std::chrono::steady_clock::now() + limit;
        while (frames() < count) {
            if (std::chrono::steady_clock::now() > end) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }
};

}  // namespace screens_test
