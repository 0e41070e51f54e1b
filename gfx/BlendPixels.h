// Mixes a new pixel into an old one by alpha/256 with 5-bit red/blue and 6-bit green weights;
// red and blue are computed together in one packed word.
#pragma once

#include <cstdint>

#include "gfx/Pixel.h"

namespace gfx {

inline Pixel BlendPixels(Pixel newPixel, Pixel oldPixel, std::uint32_t alpha) {
    std::int32_t n = newPixel, o = oldPixel;
    std::int32_t rb =
        (o & 0xF81F) + ((((n & 0xF81F) - (o & 0xF81F)) * std::int32_t(alpha >> 3)) >> 5);
    std::int32_t g =
        (o & 0x07E0) + ((((n & 0x07E0) - (o & 0x07E0)) * std::int32_t(alpha >> 2)) >> 6);
    return Pixel((rb & 0xF81F) | (g & 0x07E0));
}

}  // namespace gfx
