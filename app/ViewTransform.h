// The view transform from the work plane to the work screen, and the screen points of the
// track, the guide lines and point A that follow from it.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "app/ScreenLayout.h"
#include "guidance/PlanePoint.h"
#include "guidance/Vec2.h"

// The last quad index the walk may fill, and the first one the frame no longer paints.
inline constexpr int kLastQuadIndex = 8188;

// Recomputes the view transform and every screen point of the track, guide lines and point A.
void recomputeView();
ScreenPoint worldToScreen(PlanePoint point);
ScreenPoint worldToScreen(Vec2 point);
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
