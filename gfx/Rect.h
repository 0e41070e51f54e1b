// A rectangle of pixels; right and bottom are exclusive.
#pragma once

#include <algorithm>
#include <cstdint>

namespace gfx {

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    constexpr std::int32_t width() const { return right - left; }
    constexpr std::int32_t height() const { return bottom - top; }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }
    constexpr bool operator==(const Rect&) const = default;

    // The common part of both; empty (possibly with right < left) when they do not meet.
    constexpr Rect intersected(const Rect& other) const {
        return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                std::min(bottom, other.bottom)};
    }
};

// A point of the screen in pixels.
struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    constexpr bool operator==(const Point&) const = default;
};

}  // namespace gfx
