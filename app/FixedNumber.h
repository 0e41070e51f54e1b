// A number with a fixed count of decimals and always a '.', whatever the locale: the screens'
// texts are the same in every country the program runs in.
#pragma once

#include <charconv>
#include <string>

inline std::string fixedNumber(double value, int decimals) {
    char text[48] = {};
    const auto result =
        std::to_chars(text, text + sizeof text - 1, value, std::chars_format::fixed, decimals);
    return result.ec == std::errc() ? std::string(text, result.ptr) : std::string("?");
}
