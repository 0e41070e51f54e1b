// Helpers the rasterizer's files share.
#pragma once

#include <algorithm>
#include <cstdint>

namespace gfx::internal {

// Coordinates far outside any surface are pulled in to a range where differences of two of
// them still fit in 32 bits; nothing visible changes, since the surface lies well inside it.
inline constexpr std::int64_t kCoordinateLimit = std::int64_t(1) << 29;

inline std::int32_t clampCoordinate(std::int64_t value) {
    return std::int32_t(std::clamp(value, -kCoordinateLimit, kCoordinateLimit));
}

}  // namespace gfx::internal
