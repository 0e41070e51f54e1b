// Bitmap-font text: each ink pixel of a glyph goes through SetPixel and so through the current
// shader, and is dropped outside the target (text ignores the clip rectangle).
#include <cstring>

#include "gfx/Rasterizer.h"

namespace gfx {

namespace {
// A wrapped line holds at most this many characters before its break.
constexpr std::int32_t kWrapWidth = 24;
}  // namespace

void Rasterizer::DrawGlyphs(const Font* font, const char* text, std::int32_t count, std::int32_t x,
                            std::int32_t y, Pixel colour, std::int32_t scale) {
    const std::int32_t bytes = font->bytesPerRow();
    const std::int32_t cell = font->cellWidth() * scale;
    for (std::int32_t k = 0; k < count; ++k) {
        const std::uint8_t* rows = font->glyph(std::uint8_t(text[k]));
        std::int64_t left = std::int64_t(x) + std::int64_t(cell) * k;
        if (left >= (target_ ? target_->width() : 0)) break;
        if (left + std::int64_t(font->width) * scale <= 0) continue;
        for (std::int32_t r = 0; r < font->height; ++r) {
            for (std::int32_t c = 0; c < font->width; ++c) {
                if (!(rows[r * bytes + c / 8] & (0x80u >> (c % 8)))) continue;
                if (scale == 1) {
                    SetPixel(std::int32_t(left) + c, y + r, colour);
                    continue;
                }
                for (std::int32_t dy = 0; dy < scale; ++dy)
                    for (std::int32_t dx = 0; dx < scale; ++dx)
                        SetPixel(std::int32_t(left) + c * scale + dx, y + r * scale + dy, colour);
            }
        }
    }
}

void Rasterizer::DrawString(const Font* font, const char* text, std::int32_t alignment,
                            std::int32_t x, std::int32_t y, Pixel colour, std::int32_t count) {
    DrawStringScaled(font, text, alignment, x, y, colour, 1, count);
}

void Rasterizer::DrawStringScaled(const Font* font, const char* text, std::int32_t alignment,
                                  std::int32_t x, std::int32_t y, Pixel colour, std::int32_t scale,
                                  std::int32_t count) {
    if (!font || !text || !text[0] || !target_) return;
    // Never beyond the terminator, whatever count says.
    std::int32_t length = std::int32_t(std::strlen(text));
    std::int32_t n = count > 0 && count < length ? count : length;
    if (scale < 1) scale = 1;
    std::int64_t width = target_->width();
    const std::int64_t cell = std::int64_t(font->cellWidth()) * scale;
    std::int64_t start;
    switch (alignment) {
        case kAlignAtX:
            start = x;
            break;
        case kAlignCentre:
            start = (width + scale - cell * n) / 2;
            break;
        case kAlignRight:
            start = width + scale - cell * n;
            break;
        default:
            start = 0;
            break;
    }
    // A text wider than the surface starts left of it; the glyphs off the surface are dropped.
    if (start < -(std::int64_t(1) << 30)) start = -(std::int64_t(1) << 30);
    DrawGlyphs(font, text, n, std::int32_t(start), y, colour, scale);
}

void Rasterizer::DrawWrappedString(const Font* font, const char* text, std::int32_t alignment,
                                   std::int32_t x, std::int32_t y, Pixel colour) {
    if (!font || !text || !text[0]) return;
    const std::int32_t length = std::int32_t(std::strlen(text));
    if (length <= kWrapWidth) {
        DrawString(font, text, alignment, x, y, colour, 0);
        return;
    }
    // s: start of the current line, b: the latest accepted break. A line is broken at its last
    // break once the next space lies 24 or more characters past its start; the break space
    // heads the next line.
    std::int32_t s = 0, b = 0;
    for (;;) {
        const char* space = std::strchr(text + b + 1, ' ');
        if (space) {
            std::int32_t p = std::int32_t(space - text);
            if (p - s >= kWrapWidth && b > s) {
                DrawString(font, text + s, alignment, x, y, colour, b - s);
                y += font->cellHeight();
                s = b;
            } else {
                // A word too long for a line gets a line of its own.
                b = p;
            }
            continue;
        }
        if (s == 0 && b > 0) {
            DrawString(font, text, alignment, x, y, colour, b);
            DrawString(font, text + b, alignment, x, y + font->cellHeight(), colour, 0);
        } else {
            DrawString(font, text + s, alignment, x, y, colour, 0);
        }
        return;
    }
}

}  // namespace gfx
