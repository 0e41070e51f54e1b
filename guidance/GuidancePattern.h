// The kinds of AB line a work can be guided along, as chosen on the Guide page.
#pragma once

#include <cstdint>

enum : std::uint8_t {
    kPatternStraight = 0,  // A and B tapped: a straight line through both
    kPatternHeading = 1,   // A tapped: a straight line through A at a heading
    kPatternCurve = 2,     // A and B tapped: the path driven between them
};
