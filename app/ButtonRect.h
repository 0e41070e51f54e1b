// A touch target: a point hits when left <= x < right and top <= y < bottom.
#pragma once

#include <cstdint>

struct ButtonRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    constexpr bool contains(int x, int y) const {
        return left <= x && x < right && top <= y && y < bottom;
    }
};
