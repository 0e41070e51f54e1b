// The pixel loops both shaders share, parametrised by how one pixel is written (a plain store
// or a blend). Callers must do clipping: coordinates are already inside the target.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "gfx/PixelBuffer.h"
#include "gfx/Rect.h"
#include "gfx/Transform.h"

namespace gfx::loops {

template <class Put>
void span(Pixel* p, std::int32_t length, Pixel colour, Put put) {
    for (std::int32_t i = 0; i < length; ++i) put(p[i], colour);
}

template <class Put>
void vspan(PixelBuffer& target, std::int32_t x, std::int32_t y, std::int32_t length, Pixel colour,
           Put put) {
    for (std::int32_t i = 0; i < length; ++i) put(target.row(y + i)[x], colour);
}

template <class Put>
void fillRect(PixelBuffer& target, const Rect& rect, Pixel colour, Put put) {
    for (std::int32_t y = rect.top; y < rect.bottom; ++y)
        span(target.row(y) + rect.left, rect.width(), colour, put);
}

template <class Put>
void blitKeyed(PixelBuffer& target, std::int32_t x, std::int32_t y, const PixelBuffer& source,
               const Rect& sourceRect, Pixel key, Put put) {
    for (std::int32_t r = 0; r < sourceRect.height(); ++r) {
        const Pixel* s = source.row(sourceRect.top + r) + sourceRect.left;
        Pixel* d = target.row(y + r) + x;
        for (std::int32_t i = 0; i < sourceRect.width(); ++i)
            if (s[i] != key) put(d[i], s[i]);
    }
}

template <class Put>
void blit(PixelBuffer& target, std::int32_t x, std::int32_t y, const PixelBuffer& source,
          const Rect& sourceRect, Put put) {
    for (std::int32_t r = 0; r < sourceRect.height(); ++r) {
        const Pixel* s = source.row(sourceRect.top + r) + sourceRect.left;
        Pixel* d = target.row(y + r) + x;
        for (std::int32_t i = 0; i < sourceRect.width(); ++i) put(d[i], s[i]);
    }
}

// Visits every destination pixel row by row; u and v advance by the transform's columns, which
// wrapping 32-bit arithmetic makes equal to evaluating it afresh at each pixel centre. A texel
// is taken only when (u >> 16, v >> 16) lies inside the source as unsigned comparisons, so
// negative coordinates are left out too.
template <bool kKeyed, class Put>
void blitTransformed(PixelBuffer& target, const Rect& destination, const Transform& t,
                     const PixelBuffer& source, Pixel key, Put put) {
    const std::uint32_t a = std::uint32_t(t.a), b = std::uint32_t(t.b);
    const std::uint32_t c = std::uint32_t(t.c), d = std::uint32_t(t.d);
    const std::uint32_t stepU = a << 6, stepV = b << 6;
    for (std::int32_t y = destination.top; y < destination.bottom; ++y) {
        std::uint32_t X = (std::uint32_t(destination.left) << 6) | 32;
        std::uint32_t Y = (std::uint32_t(y) << 6) | 32;
        std::uint32_t u = a * X + c * Y + std::uint32_t(t.e);
        std::uint32_t v = b * X + d * Y + std::uint32_t(t.f);
        Pixel* out = target.row(y);
        for (std::int32_t x = destination.left; x < destination.right; ++x) {
            std::uint32_t su = u >> 16, sv = v >> 16;
            if (su < source.width && sv < source.height) {
                Pixel p = source.row(std::int32_t(sv))[su];
                if (!kKeyed || p != key) put(out[x], p);
            }
            u += stepU;
            v += stepV;
        }
    }
}

// Bresenham drawn from both ends toward the middle: both end points included, major + 1
// pixels. Ties (error' = 0) do not take the minor step, from either end, which keeps the line
// symmetric about its middle.
template <class Put>
void line(PixelBuffer& target, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
          Pixel colour, Put put) {
    std::int32_t dx = x2 - x1, dy = y2 - y1;
    std::int32_t adx = std::abs(dx), ady = std::abs(dy);
    std::int32_t sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
    bool xMajor = adx >= ady;
    std::int32_t major = xMajor ? adx : ady, minor = xMajor ? ady : adx;
    std::int32_t error = -major;
    std::int32_t ax = x1, ay = y1, bx = x2, by = y2;
    for (std::int32_t step = 0;; ++step) {
        put(target.row(ay)[ax], colour);
        if (step == major / 2) break;
        std::int32_t next = error + 2 * minor;
        put(target.row(by)[bx], colour);
        if (next > 0) {
            if (xMajor) {
                ay += sy;
                by -= sy;
            } else {
                ax += sx;
                bx -= sx;
            }
            error = next - 2 * major;
        } else {
            error = next;
        }
        if (xMajor) {
            ax += sx;
            bx -= sx;
        } else {
            ay += sy;
            by -= sy;
        }
    }
    if (major & 1) put(target.row(by)[bx], colour);
}

// Midpoint circle, eight symmetric points per step; plot decides what reaches the buffer.
template <class Plot>
void circle(std::int32_t radius, Plot plot) {
    std::int32_t x = 0, y = radius, d = 3 - 2 * radius;
    while (x <= y) {
        plot(x, y);
        plot(-x, y);
        plot(x, -y);
        plot(-x, -y);
        plot(y, x);
        plot(-y, x);
        plot(y, -x);
        plot(-y, -x);
        if (d < 0) {
            d += 4 * x + 6;
        } else {
            d += 4 * (x - y) + 10;
            --y;
        }
        ++x;
    }
}

// Per-pixel alpha from bits 10..6 of the mask (0..31), scaled by weight/256; both pixels are
// spread as (p * 0x10001) & 0x07E0F81F so that one multiply mixes all three channels.
template <class Scale>
void blitMasked(PixelBuffer& target, std::int32_t x, std::int32_t y, const PixelBuffer& source,
                const PixelBuffer& mask, const Rect& sourceRect, Scale scale) {
    for (std::int32_t r = 0; r < sourceRect.height(); ++r) {
        const Pixel* s = source.row(sourceRect.top + r) + sourceRect.left;
        const Pixel* m = mask.row(sourceRect.top + r) + sourceRect.left;
        Pixel* d = target.row(y + r) + x;
        for (std::int32_t i = 0; i < sourceRect.width(); ++i) {
            std::int32_t alpha = scale(std::int32_t((m[i] >> 6) & 31));
            if (alpha == 0) continue;
            std::int32_t sp = std::int32_t((std::uint32_t(s[i]) * 0x10001u) & 0x07E0F81Fu);
            std::int32_t dp = std::int32_t((std::uint32_t(d[i]) * 0x10001u) & 0x07E0F81Fu);
            std::uint32_t mixed = std::uint32_t(dp + (((sp - dp) * alpha) >> 5)) & 0x07E0F81Fu;
            d[i] = Pixel(mixed | (mixed >> 16));
        }
    }
}

}  // namespace gfx::loops
