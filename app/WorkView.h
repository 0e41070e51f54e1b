// The work screen's view of the work: the rotation and offset from the plane to the screen, and
// what of the work and its lines is on the screen in screen points.
#pragma once

#include <cstdint>
#include <vector>

#include "app/ScreenLayout.h"

inline constexpr int kScreenQuadPoints = 8192;

struct WorkView {
    float sin = 0.0f;
    float cos = 0.0f;
    std::int32_t offsetX = 0;
    std::int32_t offsetY = 0;
    std::uint8_t northUp = 0;
    ScreenPoint screenQuads[kScreenQuadPoints] = {};
    // The quad indices below this were filled by the latest walk; older entries of screenQuads
    // belong to an earlier view and are never painted.
    std::int32_t walkedQuadEnd = 0;
    std::vector<std::uint16_t> screenGaps;
    ScreenPoint guideLinesScreen[6] = {};
    ScreenPoint pointAScreen;
    std::vector<ScreenPoint> curveLinesScreen[3];
    std::vector<ScreenPoint> curveRecordScreen;

    // Nothing of a work is on the screen, and a new work starts heading-up.
    void forgetWork() {
        for (ScreenPoint& p : screenQuads) p = {};
        screenGaps.clear();
        northUp = 0;
        for (auto& line : curveLinesScreen) line.clear();
        curveRecordScreen.clear();
    }
};
