// What the graphics tests share: small surfaces, a font of their own, golden-image checks.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/Font.h"
#include "gfx/Rasterizer.h"
#include "gfx/Surface.h"

namespace gfxtest {

// A surface filled with colour.
gfx::Surface* filledSurface(int width, int height, gfx::Pixel colour);

// The set pixels of a surface as (x, y), row by row: everything not equal to background.
std::vector<gfx::Point> inkOf(const gfx::Surface& surface, gfx::Pixel background);

// A made-up font: 'A' and 'g' as the program's font has them, every other printable glyph a
// pattern of its own code in rows 0..9, glyphs 0 and 32 empty.
const gfx::Font& testFont();

// Compares surface with tests/gfx/golden/<name>.ppm pixel for pixel, through the tests' one
// comparer (tests/support/GoldenImage.h), which says where it left the actual and diff images.
::testing::AssertionResult matchesGolden(const gfx::Surface& surface, const std::string& name);

}  // namespace gfxtest
