// The one conversion of the values the dialogs show (metres, tenths) into the whole units the
// settings store. A value typed or stepped is a decimal: 4.1 m is 410 cm, even though 4.1 × 100
// lands a hair below 410 in binary.
#pragma once

#include <cstdint>

// value × unitsPerValue rounded down, taken as the decimal the dialog showed: a product within
// a billionth of a whole unit is that unit. Negative and non-finite values give 0.
std::int64_t wholeUnits(double value, double unitsPerValue);
// Half the implement width in centimetres from its width in metres: the width is stored as an
// even number of centimetres, rounded down. Clamped to what 16 bits hold.
std::uint16_t halfWidthCentimetres(double metres);
// The arrow tolerance in decimetres from metres, rounded down, clamped to 16 bits.
std::uint16_t toleranceDecimetres(double metres);
// A slider position counted in tenths, as the value it shows.
double tenthsValue(int position);
