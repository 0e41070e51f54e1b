// The 8 x 16 bitmap font: 256 glyphs of 16 row bytes in code page 437 order, top row first,
// most significant bit leftmost, a set bit is ink.
#pragma once

#include <cstdint>
#include <span>

namespace gfx {

struct Font {
    static constexpr int kGlyphCount = 256;
    static constexpr int kGlyphRows = 16;
    static constexpr int kSize = kGlyphCount * kGlyphRows;  // 4096 bytes
    static constexpr int kCellWidth = 9;                    // 8 of glyph and 1 of spacing
    static constexpr int kCellHeight = 16;

    std::uint8_t glyphs[kSize] = {};

    const std::uint8_t* glyph(std::uint8_t code) const { return glyphs + code * kGlyphRows; }
};

// A font made from exactly 4096 bytes of glyph table; null for any other size. Free with
// DestroyFont.
Font* CreateFont(std::span<const std::uint8_t> bytes);
// The program's font, the resource "FONTS" 155; null when it is missing or of the wrong size.
Font* LoadFontResource();
void DestroyFont(Font* font);

}  // namespace gfx
