// The kinds of AB line a work can be guided along, as chosen on the Guide page.
#pragma once

#include <cstdint>
#include <string_view>

enum : std::uint8_t {
    kPatternStraight = 0,  // A and B tapped: a straight line through both
    kPatternHeading = 1,   // A tapped: a straight line through A at a heading
    kPatternCurve = 2,     // A and B tapped: the path driven between them
};

// The pattern's name in sulcovane.conf and in a saved line's file.
inline const char* patternName(std::uint8_t pattern) {
    switch (pattern) {
        case kPatternHeading:
            return "heading";
        case kPatternCurve:
            return "curve";
        default:
            return "straight";
    }
}

// A name not known is the straight line.
inline std::uint8_t patternFromName(std::string_view name) {
    if (name == "heading") return kPatternHeading;
    if (name == "curve") return kPatternCurve;
    return kPatternStraight;
}
