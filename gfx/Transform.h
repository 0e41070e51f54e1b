// Maps a destination pixel centre to a source texel for stretched and rotated blits, in 16.16
// fixed point: with X = (x << 6) | 32 and Y = (y << 6) | 32, u = a*X + c*Y + e and
// v = b*X + d*Y + f in wrapping 32-bit arithmetic; the texel is (u >> 16, v >> 16), logical.
#pragma once

#include <cstdint>

namespace gfx {

struct Transform {
    std::int32_t a = 0, b = 0, c = 0, d = 0, e = 0, f = 0;
};

}  // namespace gfx
