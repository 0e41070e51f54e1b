// The one pixel format of the graphics layer: RGB565 in a 16-bit word, red in the top bits.
#pragma once

#include <cstdint>

namespace gfx {

using Pixel = std::uint16_t;

inline constexpr Pixel kRedMask = 0xF800;
inline constexpr Pixel kGreenMask = 0x07E0;
inline constexpr Pixel kBlueMask = 0x001F;

// A colour as the colour chooser and the settings keep it (red in the low byte, green in the
// middle byte, blue in the third) turned into a pixel by keeping the top bits of each channel:
// no rounding, no dithering, so a colour always gives the same pixel wherever it is drawn.
constexpr Pixel pixelFromColorRef(std::uint32_t colorRef) {
    std::uint32_t red = colorRef & 0xFF;
    std::uint32_t green = (colorRef >> 8) & 0xFF;
    std::uint32_t blue = (colorRef >> 16) & 0xFF;
    return Pixel(((red & 0xF8) << 8) | ((green & 0xFC) << 3) | (blue >> 3));
}

// The same reduction for a colour given as separate 8-bit channels (decoded images).
constexpr Pixel pixelFromRgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return Pixel(((red & 0xF8) << 8) | ((green & 0xFC) << 3) | ((blue & 0xFF) >> 3));
}

}  // namespace gfx
