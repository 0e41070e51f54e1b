// The bitmap fonts: 256 glyphs in code page order, top row first, most significant bit
// leftmost, a set bit is ink. The 8 x 16 font has one byte a row; the larger fonts of the larger
// layouts (12 x 24, 16 x 32) have two.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace gfx {

struct Font {
    static constexpr int kGlyphCount = 256;
    static constexpr int kGlyphRows = 16;
    static constexpr int kSize = kGlyphCount * kGlyphRows;  // 4096 bytes
    static constexpr int kCellWidth = 9;                    // 8 of glyph and 1 of spacing
    static constexpr int kCellHeight = 16;

    // The 8 x 16 glyph table.
    std::uint8_t glyphs[kSize] = {};
    // The glyph size; a font larger than 8 x 16 keeps its glyphs in large.
    int width = 8;
    int height = kGlyphRows;
    std::vector<std::uint8_t> large;

    // One column of spacing after every glyph.
    int cellWidth() const { return width + 1; }
    int cellHeight() const { return height; }
    int bytesPerRow() const { return (width + 7) / 8; }
    const std::uint8_t* glyph(std::uint8_t code) const {
        return large.empty() ? glyphs + code * kGlyphRows
                             : large.data() + std::size_t(code) * bytesPerRow() * height;
    }
};

// A font made from exactly 4096 bytes of glyph table; null for any other size. Free with
// DestroyFont.
Font* CreateFont(std::span<const std::uint8_t> bytes);
// A font of width x height glyphs (width 9 to 16) from exactly 256 glyphs of height rows of
// two bytes; null for any other size.
Font* CreateLargeFont(std::span<const std::uint8_t> bytes, int width, int height);
// The program's font, the resource "FONTS" 155; null when it is missing or of the wrong size.
Font* LoadFontResource();
void DestroyFont(Font* font);

}  // namespace gfx
