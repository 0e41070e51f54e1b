// The worked strip: one record of both implement edges per accepted fix, the worked area and
// the driven distance.
#pragma once

#include <cstdint>

#include "guidance/IntPoint.h"

void appendStrip(IntPoint position, std::int32_t offX, std::int32_t offY, std::int32_t d2);
void addStripArea();
void triangleArea(IntPoint a, IntPoint b, IntPoint c);
double stepLength();
