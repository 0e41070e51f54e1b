// The work screen's view of the work: the rotation and offset from the plane to the screen, and
// what of the work and its lines is on the screen in screen points.
#pragma once

#include <cstdint>
#include <vector>

#include "app/ScreenLayout.h"

struct WorkView {
    float sin = 0.0f;
    float cos = 0.0f;
    std::int32_t offsetX = 0;
    std::int32_t offsetY = 0;
    std::uint8_t northUp = 0;
    // The worked quads a frame found in view (the frame's own; kept to spare an allocation).
    std::vector<std::uint32_t> quadsInView;
    ScreenPoint guideLinesScreen[6] = {};
    ScreenPoint pointAScreen;
    std::vector<ScreenPoint> curveLinesScreen[3];
    std::vector<ScreenPoint> curveRecordScreen;

    // Nothing of a work is on the screen, and a new work starts heading-up.
    void forgetWork() {
        northUp = 0;
        for (auto& line : curveLinesScreen) line.clear();
        curveRecordScreen.clear();
    }
};
