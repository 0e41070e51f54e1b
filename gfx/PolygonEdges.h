// The edge records of the two polygon fillers, kept by the rasterizer between calls.
#pragma once

#include <cstdint>

namespace gfx {

// An edge of the even-odd filler. Its x on row top + k is xTop + ceil(k * dx / height): the
// error term carries the fraction, starting at 1 - height for leftward edges so that both
// directions round the same way.
struct PolygonEdge {
    std::int64_t x = 0;
    std::int64_t top = 0;
    std::int64_t step = 0;
    std::int64_t direction = 1;
    std::int64_t error = 0;
    std::int64_t remainder = 0;
    std::int64_t height = 0;
    std::int64_t rowsLeft = 0;
    std::int64_t dx = 0;
};

// An edge of the pattern filler, active from its top row to its bottom row inclusive, its x
// following Bresenham's stepping toward the bottom x.
struct PatternEdge {
    std::int64_t top = 0;
    std::int64_t bottom = 0;
    std::int64_t x = 0;
    std::int64_t height = 0;
    std::int64_t adx = 0;
    std::int64_t direction = 1;
    std::int64_t error = 0;

    void advance(std::int64_t rows) {
        std::int64_t total = error + rows * adx;
        x += direction * (total / height);
        error = total % height;
    }
};

}  // namespace gfx
