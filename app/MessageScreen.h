// Full-screen messages: the welcome, waiting and finished texts, and the Yes/No confirmation.
#pragma once

namespace gfx {
class Rasterizer;
}

// Draws the background picture with the text and presents the frame.
void showMessageScreen(const char* text);
// The message layout with promptText and the Yes and No buttons; presents the frame.
void drawConfirmScreen();
// The layout under every message: white (dark at night), the background picture faintly over
// it, the text wrapped and centred in black (amber at night) near the top. The caller presents.
void drawMessageLayout(gfx::Rasterizer& target, const char* text);
// The start screen: the background picture and the five start buttons. The caller presents.
void drawStartLayout(gfx::Rasterizer& target);
