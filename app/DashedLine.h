// Draws the dashed leg from point A to the vehicle: runs of drawn and skipped pixels walked
// along the line one step at a time, each drawn run as a 5-pixel-wide line.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "app/AppState.h"
#include "gfx/Pixel.h"

namespace gfx {
class Rasterizer;
}

class DashedLine {
  public:
    // Run lengths in pixels: drawn, skipped, drawn, ... A run of 0 or less counts as 1.
    explicit DashedLine(std::initializer_list<std::int32_t> runs);

    // Draws from `from` to `to` in colour, the pattern starting afresh with a drawn run.
    void draw(gfx::Rasterizer& target, ScreenPoint from, ScreenPoint to, gfx::Pixel colour);

  private:
    void step();
    void drawDash();

    gfx::Rasterizer* target_ = nullptr;
    std::vector<std::int32_t> runs_;
    std::size_t run_ = 0;
    std::int32_t stepsLeft_ = 0;
    ScreenPoint current_;
    ScreenPoint dashStart_;
    gfx::Pixel colour_ = 0;
};
