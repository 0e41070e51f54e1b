// How far a work's plane reaches: a few hundred kilometres around its origin, more than any
// field and well inside its zone's projection. Nothing of a work lies beyond it: a fix there is
// no position of this work (a work resumed on another continent, a receiver's wrong
// hemisphere), and a journal holding such a point was written by no work.
#pragma once

#include <cmath>

inline constexpr double kPlaneReach = 5e6;  // dm: 500 km

inline bool insidePlane(double x, double y) {
    return std::isfinite(x) && std::isfinite(y) && std::hypot(x, y) <= kPlaneReach;
}
