#include "app/MessageScreen.h"

#include <cstring>

#include "app/AppState.h"
#include "app/FrameScope.h"
#include "app/Palette.h"
#include "gfx/Font.h"
#include "gfx/Rasterizer.h"

namespace {

// The background picture shows through at about a third, so the text stays readable.
constexpr std::uint32_t kPictureAlpha = 90;

// Texts shorter than this stay on one line.
constexpr int kWrapLength = 25;
// A line ends at the last space before this many characters from its start.
constexpr int kLineBreakReach = 24;

// Draws count characters from start as the next line, centred.
class MessageLines {
  public:
    MessageLines(gfx::Rasterizer& target, const char* text, int y)
        : target_(target), text_(text), y_(y) {}
    void line(int start, int count) {
        if (count <= 0) return;
        target_.DrawString(appState.layout.font, text_ + start, gfx::kAlignCentre, 0, y_,
                           messageInk(), count);
        y_ += appState.layout.font->cellHeight();
    }

  private:
    gfx::Rasterizer& target_;
    const char* text_;
    int y_;
};

// The last line takes the rest of the text; where that is wider than the screen (the Russian
// welcome on a 240-pixel screen) it is broken further at its last space that fits.
void restOfText(MessageLines& lines, const char* text, int start, int length, int capacity) {
    while (length - start > capacity) {
        int q = start + capacity;
        while (q > start && text[q] != ' ') --q;
        if (q == start) break;
        lines.line(start, q - start);
        start = q;
    }
    lines.line(start, length - start);
}

// The lines of the wrapping text routine: broken at spaces, each break space kept at the head
// of the next line, the last line with the rest of the text.
void drawWrapped(gfx::Rasterizer& target, const char* text, int y) {
    if (!appState.layout.font) return;  // nothing to draw the text with
    MessageLines lines(target, text, y);
    int length = int(std::strlen(text));
    int capacity = (target.Target()->width() + 1) / appState.layout.font->cellWidth();
    if (length < kWrapLength) {
        lines.line(0, length);
        return;
    }
    int start = 0, lastBreak = 0;
    for (;;) {
        const char* space = std::strchr(text + lastBreak + 1, ' ');
        if (!space) break;
        int p = int(space - text);
        // A first word as long as a line has no break before it: it takes the line.
        if (p - start >= kLineBreakReach && lastBreak > start) {
            lines.line(start, lastBreak - start);
            start = lastBreak;
        } else {
            lastBreak = p;
        }
    }
    if (start == 0) {
        lines.line(0, lastBreak);
        start = lastBreak;
    }
    restOfText(lines, text, start, length, capacity);
}

void drawButton(gfx::Rasterizer& target, const ButtonImage& button) {
    if (button.image) target.Blit(button.x, button.y, button.image);
}

}  // namespace

void drawMessageLayout(gfx::Rasterizer& target, const char* text) {
    if (!target.Target()) return;
    refreshPalette();
    target.Clear(messageGround());
    if (appState.layout.backgroundImage) {
        target.SetBlending(kPictureAlpha);
        target.Blit(0, 0, appState.layout.backgroundImage);
        target.ResetBlending();
    }
    drawWrapped(target, text, appState.layout.halfScreenHeight >> 2);
}

void drawStartLayout(gfx::Rasterizer& target) {
    if (!target.Target()) return;
    refreshPalette();
    // The picture may be smaller than the window: what it does not cover is the ground.
    target.Clear(messageGround());
    if (appState.layout.backgroundImage) target.Blit(0, 0, appState.layout.backgroundImage);
    for (const ButtonImage* button :
         {&appState.layout.imgStartFree, &appState.layout.imgStartAB, &appState.layout.imgReview,
          &appState.layout.imgStartMenu, &appState.layout.imgExit})
        drawButton(target, *button);
}

void showMessageScreen(const char* text) {
    FrameScope frame;
    if (!frame) return;
    drawMessageLayout(frame.target(), text);
}

void drawConfirmScreen() {
    FrameScope frame;
    if (!frame) return;
    drawMessageLayout(frame.target(), appState.ui.promptText);
    drawButton(frame.target(), appState.layout.imgYes);
    drawButton(frame.target(), appState.layout.imgNo);
}
