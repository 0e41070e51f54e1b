#include "app/MessageScreen.h"

#include "app/AppState.h"
#include "app/FrameScope.h"
#include "gfx/Rasterizer.h"

namespace {

constexpr gfx::Pixel kWhite = 0xFFFF;
constexpr gfx::Pixel kBlack = 0x0000;
// The background picture shows through at about a third, so the text stays readable.
constexpr std::uint32_t kPictureAlpha = 90;

void drawButton(gfx::Rasterizer& target, const ButtonImage& button) {
    if (button.image) target.Blit(button.x, button.y, button.image);
}

}  // namespace

void drawMessageLayout(gfx::Rasterizer& target, const char* text) {
    target.Clear(kWhite);
    if (appState.backgroundImage) {
        target.SetBlending(kPictureAlpha);
        target.Blit(0, 0, appState.backgroundImage);
        target.ResetBlending();
    }
    target.DrawWrappedString(appState.font, text, gfx::kAlignCentre, 0,
                             appState.halfScreenHeight >> 2, kBlack);
}

void showMessageScreen(const char* text) {
    FrameScope frame;
    if (!frame) return;
    drawMessageLayout(frame.target(), text);
}

void drawConfirmScreen() {
    FrameScope frame;
    if (!frame) return;
    drawMessageLayout(frame.target(), appState.promptText);
    drawButton(frame.target(), appState.imgYes);
    drawButton(frame.target(), appState.imgNo);
}
