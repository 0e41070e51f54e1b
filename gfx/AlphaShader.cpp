#include "gfx/AlphaShader.h"

#include "gfx/BlendPixels.h"
#include "gfx/ShaderLoops.h"

namespace gfx {

// Every write of the copy shader becomes BlendPixels(new, old, alpha).
#define SULCO_BLEND [this](Pixel& d, Pixel s) { d = BlendPixels(s, d, alpha); }

void AlphaShader::Blit(PixelBuffer& target, std::int32_t x, std::int32_t y,
                       const PixelBuffer& source, const Rect& sourceRect) {
    loops::blit(target, x, y, source, sourceRect, SULCO_BLEND);
}

void AlphaShader::BlitKeyed(PixelBuffer& target, std::int32_t x, std::int32_t y,
                            const PixelBuffer& source, const Rect& sourceRect, Pixel key) {
    loops::blitKeyed(target, x, y, source, sourceRect, key, SULCO_BLEND);
}

void AlphaShader::BlitTransformed(PixelBuffer& target, const Rect& destination,
                                  const Transform& transform, const PixelBuffer& source) {
    loops::blitTransformed<false>(target, destination, transform, source, 0, SULCO_BLEND);
}

void AlphaShader::BlitTransformedKeyed(PixelBuffer& target, const Rect& destination,
                                       const Transform& transform, const PixelBuffer& source,
                                       Pixel key) {
    loops::blitTransformed<true>(target, destination, transform, source, key, SULCO_BLEND);
}

void AlphaShader::CircleClipped(PixelBuffer& target, std::int32_t cx, std::int32_t cy,
                                std::int32_t radius, Pixel colour, const Rect& clip) {
    loops::circle(radius, [&](std::int32_t dx, std::int32_t dy) {
        std::int32_t x = cx + dx, y = cy + dy;
        if (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom) {
            Pixel& p = target.row(y)[x];
            p = BlendPixels(colour, p, alpha);
        }
    });
}

void AlphaShader::Circle(PixelBuffer& target, std::int32_t cx, std::int32_t cy, std::int32_t radius,
                         Pixel colour) {
    loops::circle(radius, [&](std::int32_t dx, std::int32_t dy) {
        Pixel& p = target.row(cy + dy)[cx + dx];
        p = BlendPixels(colour, p, alpha);
    });
}

void AlphaShader::Clear(PixelBuffer& target, Pixel colour) {
    Rect all{0, 0, std::int32_t(target.width), std::int32_t(target.height)};
    loops::fillRect(target, all, colour, SULCO_BLEND);
}

void AlphaShader::FillRect(PixelBuffer& target, const Rect& rect, Pixel colour) {
    loops::fillRect(target, rect, colour, SULCO_BLEND);
}

void AlphaShader::HSpan(PixelBuffer& target, std::int32_t x, std::int32_t y, std::int32_t length,
                        Pixel colour) {
    loops::span(target.row(y) + x, length, colour, SULCO_BLEND);
}

void AlphaShader::Line(PixelBuffer& target, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                       std::int32_t y2, Pixel colour) {
    loops::line(target, x1, y1, x2, y2, colour, SULCO_BLEND);
}

void AlphaShader::SetPixel(PixelBuffer& target, std::int32_t x, std::int32_t y, Pixel colour) {
    Pixel& p = target.row(y)[x];
    p = BlendPixels(colour, p, alpha);
}

void AlphaShader::VSpan(PixelBuffer& target, std::int32_t x, std::int32_t y, std::int32_t length,
                        Pixel colour) {
    loops::vspan(target, x, y, length, colour, SULCO_BLEND);
}

void AlphaShader::BlitMasked(PixelBuffer& target, std::int32_t x, std::int32_t y,
                             const PixelBuffer& source, const PixelBuffer& mask,
                             const Rect& sourceRect) {
    loops::blitMasked(target, x, y, source, mask, sourceRect, [this](std::int32_t a) {
        return std::int32_t((std::uint32_t(a) * alpha) >> 8);
    });
}

#undef SULCO_BLEND

}  // namespace gfx
