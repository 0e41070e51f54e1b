// The worked strip: one record of both implement edges per accepted fix, the worked area and
// the driven distance.
#pragma once

#include "guidance/PlanePoint.h"
#include "guidance/WorkRecord.h"

// Records the edges at p (left = p + (-offX, offY), right = p - (-offX, offY)) and adds the step
// of squared length d2 (dm^2) to the distance and the new quad to the area. When no record can
// be added (no memory for its block, or the count full) nothing is recorded or added, workFull
// is set and the answer is false.
bool appendStrip(WorkRecord& work, PlanePoint position, double offX, double offY, double d2);
// Adds the quad between the two newest records to the worked area.
void addStripArea(WorkRecord& work);
// The area of the triangle a, b, c.
double triangleArea(PlanePoint a, PlanePoint b, PlanePoint c);
// Distance between the work's position and its previous position, in decimetres.
double stepLength(const WorkRecord& work);
