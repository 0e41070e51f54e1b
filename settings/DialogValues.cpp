#include "settings/DialogValues.h"

#include <cmath>
#include <limits>

std::int64_t wholeUnits(double value, double unitsPerValue) {
    double scaled = value * unitsPerValue;
    if (!std::isfinite(scaled) || scaled <= 0.0) return 0;
    constexpr double kMax = double(std::numeric_limits<std::int32_t>::max());
    if (scaled >= kMax) return std::numeric_limits<std::int32_t>::max();
    // Binary rounding of a decimal moves a product by about 1e-16 of itself; a typed value is
    // never closer than a billionth to a whole unit without being meant as that unit.
    double nearest = std::round(scaled);
    if (std::fabs(scaled - nearest) <= 1e-9 * std::fmax(1.0, nearest)) return std::int64_t(nearest);
    return std::int64_t(std::floor(scaled));
}

namespace {

std::uint16_t clamp16(std::int64_t units) {
    return units > 65535 ? std::uint16_t(65535) : std::uint16_t(units);
}

}  // namespace

std::uint16_t halfWidthCentimetres(double metres) {
    // Whole centimetres first, then down to an even count: 4.15 m is 415 cm, stored as 414.
    return clamp16(wholeUnits(metres, 100.0) / 2);
}

std::uint16_t toleranceDecimetres(double metres) {
    return clamp16(wholeUnits(metres, 10.0));
}

double tenthsValue(int position) {
    return position / 10.0;
}
