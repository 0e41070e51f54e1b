// What the guidance made of the newest accepted fix: the followed line, the signed cross-track
// error, the steering arrows, and the pieces of the followed line and its neighbours that reach
// across the screen.
#pragma once

#include <cstdint>
#include <vector>

#include "guidance/Vec2.h"

struct GuideResults {
    double crossTrack = 0.0;  // dm, positive: right of the line, steer left
    std::int32_t guideNumber = 0;
    std::uint8_t arrowCount = 0;
    std::uint8_t steerLeft = 0;
    // The vehicle is farther from the reference line than guidance reaches: no line is followed,
    // no error is given, and the screen says so.
    std::uint8_t lineTooFar = 0;
    // Straight lines: the followed line, then its left and its right neighbour, two ends each.
    Vec2 guideLinesWorld[6];
    // Curves: the followed curve, its left and its right neighbour, as far as the view reaches.
    std::vector<Vec2> curveLinesWorld[3];
};
