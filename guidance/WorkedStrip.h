// The worked strip: one record of both implement edges per accepted fix, the worked area and
// the driven distance.
#pragma once

#include <cstdint>

#include "guidance/PlanePoint.h"

// Records the edges at p (left = p + (-offX, offY), right = p - (-offX, offY)) and adds the step
// of squared length d2 (dm^2) to the distance and the new quad to the area. When the work
// record is full nothing is recorded or added, and workFull is set.
void appendStrip(PlanePoint position, double offX, double offY, double d2);
// Adds the quad between the two newest records to the worked area.
void addStripArea();
// Adds the area of the triangle a, b, c to the worked area.
void triangleArea(PlanePoint a, PlanePoint b, PlanePoint c);
// Distance between position and previousPosition, in decimetres.
double stepLength();
