// The four messages the screen state machine handles, as the window delivers them.
#pragma once

#include <cstdint>

enum : std::uint32_t {
    kMsgDestroy = 2,
    kMsgPaint = 15,
    kMsgChar = 258,
    kMsgPenDown = 513,
};

// A pen-down position packs x in the low and y in the high 16 bits, both signed.
constexpr std::uint32_t packPenPosition(int x, int y) {
    return (std::uint32_t(std::uint16_t(std::int16_t(x)))) |
           (std::uint32_t(std::uint16_t(std::int16_t(y))) << 16);
}
