// How many steering arrows a cross-track error earns: one per tolerance of error.
#pragma once

#include <cstdint>

// |crossTrack| / tolerance, truncated; a tolerance of 0 shows no arrows, and an error of 255
// tolerances or more shows 255.
std::uint8_t steeringArrows(double crossTrack, std::uint16_t tolerance);
