// The choice of field before a new work: the farm book's fields by distance from the vehicle
// (the one it stands in first, or the nearest), a new boundary to drive, and "No field" last.
// Each row is a touch target across the screen. A farm without a book never sees it.
#pragma once

#include <cstdint>

namespace gfx {
class Rasterizer;
}

// The height of the title and of each row; row n (from 1) is the nth choice.
int fieldChoiceRowHeight();
// The farm book has been read: a new work asks for its field first.
bool fieldChoiceOffered();
// The start screen's Free work or A-B line was touched: the choice comes up for that work.
void enterFieldChoice(std::uint8_t workState);
// The frame of the choice (the caller presents).
void drawFieldChoice(gfx::Rasterizer& target);
void tapFieldChoice(int x, int y);
// After "Continue the last work": yes goes on with the field's last work, no starts a new one.
void answerContinueLastWork(bool yes);
