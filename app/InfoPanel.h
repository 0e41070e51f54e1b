// The two lines of satellites, HDOP, area, distance and speed at the top of the work screen.
#pragma once

namespace gfx {
class Rasterizer;
}

void drawInfoPanel(gfx::Rasterizer& target);
