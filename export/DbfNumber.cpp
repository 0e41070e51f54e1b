#include "export/DbfNumber.h"

#include <charconv>
#include <cmath>

std::string formatDbfNumber(double v, int width, int decimals) {
    if (!std::isfinite(v) || width <= 0 || width > 64) return {};
    char text[400];
    for (int d = decimals; d >= 0; --d) {
        auto [end, ec] = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, d);
        if (ec != std::errc()) return {};
        int length = int(end - text);
        if (length <= width) return std::string(width - length, ' ') + std::string(text, end);
    }
    return {};
}
