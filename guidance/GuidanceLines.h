// The AB line and the parallel guide lines one implement width apart, created as the vehicle
// reaches them and kept as a cache until the next AB line is set.
#pragma once

#include <cstdint>
#include <vector>

#include "guidance/Vec2.h"

struct GuideLine {
    Vec2 start;
    Vec2 end;
    std::int32_t number = 0;
};

struct GuidanceLines {
    Vec2 anchorA;
    Vec2 anchorB;
    std::int32_t currentLine = 0;
    Vec2 direction;
    Vec2 leftNormal;
    Vec2 crossAxis;
    double spacing = 0.0;
    std::vector<GuideLine> lines;
};
