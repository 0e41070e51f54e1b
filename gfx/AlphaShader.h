// The shader of translucent drawing: every write blends the new pixel into the old by alpha.
#pragma once

#include "gfx/PixelShader.h"

namespace gfx {

class AlphaShader final : public PixelShader {
  public:
    explicit AlphaShader(std::uint32_t alpha) : alpha(alpha) {}

    void Blit(PixelBuffer& target, std::int32_t x, std::int32_t y, const PixelBuffer& source,
              const Rect& sourceRect) override;
    void BlitKeyed(PixelBuffer& target, std::int32_t x, std::int32_t y, const PixelBuffer& source,
                   const Rect& sourceRect, Pixel key) override;
    void BlitTransformed(PixelBuffer& target, const Rect& destination, const Transform& transform,
                         const PixelBuffer& source) override;
    void BlitTransformedKeyed(PixelBuffer& target, const Rect& destination,
                              const Transform& transform, const PixelBuffer& source,
                              Pixel key) override;
    void CircleClipped(PixelBuffer& target, std::int32_t cx, std::int32_t cy, std::int32_t radius,
                       Pixel colour, const Rect& clip) override;
    void Circle(PixelBuffer& target, std::int32_t cx, std::int32_t cy, std::int32_t radius,
                Pixel colour) override;
    void Clear(PixelBuffer& target, Pixel colour) override;
    void FillRect(PixelBuffer& target, const Rect& rect, Pixel colour) override;
    void HSpan(PixelBuffer& target, std::int32_t x, std::int32_t y, std::int32_t length,
               Pixel colour) override;
    void Line(PixelBuffer& target, std::int32_t x1, std::int32_t y1, std::int32_t x2,
              std::int32_t y2, Pixel colour) override;
    void SetPixel(PixelBuffer& target, std::int32_t x, std::int32_t y, Pixel colour) override;
    void VSpan(PixelBuffer& target, std::int32_t x, std::int32_t y, std::int32_t length,
               Pixel colour) override;
    void BlitMasked(PixelBuffer& target, std::int32_t x, std::int32_t y, const PixelBuffer& source,
                    const PixelBuffer& mask, const Rect& sourceRect) override;

    // Meaningful 0..255: the weight of the new pixel in 256ths.
    std::uint32_t alpha = 255;
};

}  // namespace gfx
