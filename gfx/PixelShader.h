// How pixels reach a buffer: every write of the rasterizer goes through the current shader.
// Callers must do clipping: every operation receives coordinates already inside the buffer
// (and the clip rectangle) and never clips itself.
#pragma once

#include <cstdint>

#include "gfx/Pixel.h"
#include "gfx/PixelBuffer.h"
#include "gfx/Rect.h"
#include "gfx/Transform.h"

namespace gfx {

class PixelShader {
  public:
    virtual ~PixelShader() = default;

    // Slot 1: the source rect of source with its top-left corner at (x, y).
    virtual void Blit(PixelBuffer& target, std::int32_t x, std::int32_t y,
                      const PixelBuffer& source, const Rect& sourceRect) = 0;
    // Slot 2: as Blit, source pixels equal to key left out.
    virtual void BlitKeyed(PixelBuffer& target, std::int32_t x, std::int32_t y,
                           const PixelBuffer& source, const Rect& sourceRect, Pixel key) = 0;
    // Slot 3: every pixel of destination sampled from source through transform; texels outside
    // source are left out.
    virtual void BlitTransformed(PixelBuffer& target, const Rect& destination,
                                 const Transform& transform, const PixelBuffer& source) = 0;
    // Slot 4: as 3, key pixels left out.
    virtual void BlitTransformedKeyed(PixelBuffer& target, const Rect& destination,
                                      const Transform& transform, const PixelBuffer& source,
                                      Pixel key) = 0;
    // Slot 5: midpoint circle, each point tested against clip.
    virtual void CircleClipped(PixelBuffer& target, std::int32_t cx, std::int32_t cy,
                               std::int32_t radius, Pixel colour, const Rect& clip) = 0;
    // Slot 6: midpoint circle lying entirely inside the buffer.
    virtual void Circle(PixelBuffer& target, std::int32_t cx, std::int32_t cy, std::int32_t radius,
                        Pixel colour) = 0;
    // Slot 7: the whole buffer.
    virtual void Clear(PixelBuffer& target, Pixel colour) = 0;
    // Slot 8.
    virtual void FillRect(PixelBuffer& target, const Rect& rect, Pixel colour) = 0;
    // Slot 9: length pixels rightwards from (x, y).
    virtual void HSpan(PixelBuffer& target, std::int32_t x, std::int32_t y, std::int32_t length,
                       Pixel colour) = 0;
    // Slot 10: both end points included.
    virtual void Line(PixelBuffer& target, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                      std::int32_t y2, Pixel colour) = 0;
    // Slot 11.
    virtual void SetPixel(PixelBuffer& target, std::int32_t x, std::int32_t y, Pixel colour) = 0;
    // Slot 12: length pixels downwards from (x, y).
    virtual void VSpan(PixelBuffer& target, std::int32_t x, std::int32_t y, std::int32_t length,
                       Pixel colour) = 0;
    // Slot 13: per-pixel alpha from the mask (bits 10..6 of each mask pixel, 0..31); the mask
    // has the same layout as the source and the same source rect applies.
    virtual void BlitMasked(PixelBuffer& target, std::int32_t x, std::int32_t y,
                            const PixelBuffer& source, const PixelBuffer& mask,
                            const Rect& sourceRect) = 0;
};

}  // namespace gfx
