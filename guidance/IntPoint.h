// A point of the work plane: decimetres east (x) and north (y) of the work's origin.
#pragma once

#include <cstdint>

struct IntPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};
