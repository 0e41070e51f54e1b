// The work screen: worked track, steering bar, guide lines, texts, vehicle and buttons.
#pragma once

#include "app/AppState.h"

namespace gfx {
class Rasterizer;
}

// Rescales the vehicle picture to the current zoom and vehicle scale.
void rebuildVehicleImage();
void drawBackground(gfx::Rasterizer& target);
void drawWorkScreen(gfx::Rasterizer& target);
void drawWorkButtons(gfx::Rasterizer& target);
// A whole frame of the work screen, in its order: background, guidance picture, information
// panel, buttons.
void drawWorkFrame(gfx::Rasterizer& target);
