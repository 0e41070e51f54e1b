// The view transform from the work plane to the work screen, the screen points of the guide
// lines and point A that follow from it, and the part of the plane the screen shows.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "app/ScreenLayout.h"
#include "coverage/StripQuad.h"
#include "guidance/PlanePoint.h"
#include "guidance/Vec2.h"

// Recomputes the view transform and the screen points of the guide lines and point A.
void recomputeView();
ScreenPoint worldToScreen(PlanePoint point);
ScreenPoint worldToScreen(Vec2 point);
// The box of the plane (dm) that holds the screen and a margin of pixels around it.
GroundBox viewedGround(int marginPixels);
// Truncation toward zero, held inside the 32-bit range so that a far point of the map stays a
// far point of the screen instead of wrapping onto it.
inline std::int32_t screenTruncate(double value) {
    if (std::isnan(value)) return 0;
    constexpr double kMax = double(std::numeric_limits<std::int32_t>::max());
    constexpr double kMin = double(std::numeric_limits<std::int32_t>::min());
    if (value >= kMax) return std::numeric_limits<std::int32_t>::max();
    if (value <= kMin) return std::numeric_limits<std::int32_t>::min();
    return std::int32_t(value);
}
