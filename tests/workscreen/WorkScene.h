// Puts appState into a known work-screen situation: screen size and layout, a driven track, an
// AB line with the guidance results a fix would leave, so that frames can be drawn and checked.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "app/AppState.h"
#include "gfx/Rasterizer.h"
#include "gfx/Surface.h"

namespace workscene {

// Clears everything the work screen reads and sets the screen metrics and button layout.
void reset(int width, int height, std::uint32_t orientation);

// Records one strip per position, the implement across the step towards the next position
// (the last one keeps the previous step's direction); position and heading end at the last.
void drive(const std::vector<PlanePoint>& path);

// The positions of a straight run from start, count steps of step (dm) each.
std::vector<PlanePoint> straight(PlanePoint start, Vec2 direction, int count, double step);

// An AB line from a along direction, lines spacing dm apart numbered to the right, with the
// guidance results for the current position and heading as a fix leaves them.
void guideAlong(Vec2 a, Vec2 direction, double spacing);

// A surface of the screen's size bound to a rasterizer.
struct Canvas {
    Canvas(int width, int height);
    ~Canvas();
    gfx::Surface* surface = nullptr;
    std::unique_ptr<gfx::Rasterizer> raster;
    gfx::Pixel at(int x, int y) const { return surface->pixel(x, y); }
};

// A font whose glyph for byte c has every row equal to c, so that each text leaves its own
// pattern; freed at exit.
gfx::Font* patternFont();

}  // namespace workscene
