#include "gfx/CopyShader.h"

#include <cstring>

#include "gfx/ShaderLoops.h"

namespace gfx {

namespace {
inline void store(Pixel& destination, Pixel value) {
    destination = value;
}

// The fill of one row, pixel by pixel (Clear takes memset instead when both bytes of the colour
// are equal).
void fillRow(Pixel* p, std::int32_t length, Pixel colour) {
    for (std::int32_t i = 0; i < length; ++i) p[i] = colour;
}
}  // namespace

CopyShader& CopyShader::shared() {
    static CopyShader instance;
    return instance;
}

void CopyShader::Blit(PixelBuffer& target, std::int32_t x, std::int32_t y,
                      const PixelBuffer& source, const Rect& sourceRect) {
    // One block copy per row; memmove because a surface may be blitted onto itself.
    std::size_t bytes = std::size_t(sourceRect.width()) * sizeof(Pixel);
    for (std::int32_t r = 0; r < sourceRect.height(); ++r)
        std::memmove(target.row(y + r) + x, source.row(sourceRect.top + r) + sourceRect.left,
                     bytes);
}

void CopyShader::BlitKeyed(PixelBuffer& target, std::int32_t x, std::int32_t y,
                           const PixelBuffer& source, const Rect& sourceRect, Pixel key) {
    loops::blitKeyed(target, x, y, source, sourceRect, key, store);
}

void CopyShader::BlitTransformed(PixelBuffer& target, const Rect& destination,
                                 const Transform& transform, const PixelBuffer& source) {
    loops::blitTransformed<false>(target, destination, transform, source, 0, store);
}

void CopyShader::BlitTransformedKeyed(PixelBuffer& target, const Rect& destination,
                                      const Transform& transform, const PixelBuffer& source,
                                      Pixel key) {
    loops::blitTransformed<true>(target, destination, transform, source, key, store);
}

void CopyShader::CircleClipped(PixelBuffer& target, std::int32_t cx, std::int32_t cy,
                               std::int32_t radius, Pixel colour, const Rect& clip) {
    loops::circle(radius, [&](std::int32_t dx, std::int32_t dy) {
        std::int32_t x = cx + dx, y = cy + dy;
        if (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom)
            target.row(y)[x] = colour;
    });
}

void CopyShader::Circle(PixelBuffer& target, std::int32_t cx, std::int32_t cy, std::int32_t radius,
                        Pixel colour) {
    loops::circle(radius,
                  [&](std::int32_t dx, std::int32_t dy) { target.row(cy + dy)[cx + dx] = colour; });
}

void CopyShader::Clear(PixelBuffer& target, Pixel colour) {
    if ((colour >> 8) == (colour & 0xFF)) {
        std::memset(target.pixels, colour & 0xFF, std::size_t(target.pitch) * target.height);
        return;
    }
    for (std::uint32_t y = 0; y < target.height; ++y)
        fillRow(target.row(std::int32_t(y)), std::int32_t(target.width), colour);
}

void CopyShader::FillRect(PixelBuffer& target, const Rect& rect, Pixel colour) {
    for (std::int32_t y = rect.top; y < rect.bottom; ++y)
        fillRow(target.row(y) + rect.left, rect.width(), colour);
}

void CopyShader::HSpan(PixelBuffer& target, std::int32_t x, std::int32_t y, std::int32_t length,
                       Pixel colour) {
    fillRow(target.row(y) + x, length, colour);
}

void CopyShader::Line(PixelBuffer& target, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                      std::int32_t y2, Pixel colour) {
    loops::line(target, x1, y1, x2, y2, colour, store);
}

void CopyShader::SetPixel(PixelBuffer& target, std::int32_t x, std::int32_t y, Pixel colour) {
    target.row(y)[x] = colour;
}

void CopyShader::VSpan(PixelBuffer& target, std::int32_t x, std::int32_t y, std::int32_t length,
                       Pixel colour) {
    loops::vspan(target, x, y, length, colour, store);
}

void CopyShader::BlitMasked(PixelBuffer& target, std::int32_t x, std::int32_t y,
                            const PixelBuffer& source, const PixelBuffer& mask,
                            const Rect& sourceRect) {
    loops::blitMasked(target, x, y, source, mask, sourceRect, [](std::int32_t a) { return a; });
}

}  // namespace gfx
