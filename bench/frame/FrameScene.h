// The work-screen scene of the frame benchmark: a back-and-forth field, lines, a turned
// vehicle, two text lines and a row of buttons on a 480 x 640 screen.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/Font.h"
#include "gfx/Rasterizer.h"
#include "gfx/Surface.h"

namespace bench {

inline constexpr int kWidth = 480;
inline constexpr int kHeight = 640;
inline constexpr gfx::Pixel kBackground = 0x4208;
inline constexpr gfx::Pixel kTrack = 0x8E6B;
inline constexpr gfx::Pixel kKey = 0xF81F;

// One quad of the worked strip on the screen: left and right edge at two records.
struct ScreenQuad {
    gfx::Point corners[4];  // left at record i, right at i, right at i + 1, left at i + 1
};

struct Scene {
    std::vector<ScreenQuad> quads;    // both zooms, off-screen quads already left out
    gfx::Surface* vehicle = nullptr;  // 60 x 90, keyed
    gfx::Surface* button = nullptr;   // 96 x 96, keyed
    gfx::Font* font = nullptr;
    const char* lines[2] = {"Linea 12  -0.35 m", "3.42 ha  12.5 km  8.3 km/h"};
};

// Builds the field, projects it at zoom 3.0 and 0.3 about the newest record, and makes the
// pictures and the font.
Scene makeScene();

void drawOurs(gfx::Rasterizer& r, const Scene& scene);

}  // namespace bench
