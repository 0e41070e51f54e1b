// The worked strip: one record of both implement edges per accepted fix, the worked area, the
// ground covered and the driven distance.
#pragma once

#include "guidance/PlanePoint.h"
#include "guidance/WorkRecord.h"

// Records the edges at p (left = p + (-offX, offY), right = p - (-offX, offY)) and adds the step
// of squared length d2 (dm^2) to the distance and the new quad to the area and the ground. When
// no record can be added (no memory for its block, or the count full) nothing is recorded or
// added, workFull is set and the answer is false.
bool appendStrip(WorkRecord& work, PlanePoint position, double offX, double offY, double d2);
// Records the edge as it stands and adds distance (dm) to the work's, as appendStrip does: for a
// strip narrower than the implement, such as a run of its sections.
bool appendEdge(WorkRecord& work, const TrackEdge& edge, double distance);
// Files every strip record the coverage has not seen: the quad from the record before, unless a
// pause mark parts them, goes into the coverage, the worked area and the ground. A work loaded
// whole (resumed, reviewed) is covered by one call.
void coverNewRecords(WorkRecord& work);
// Forgets the coverage, the worked area and the ground, and covers every record again: for
// records set whole rather than appended.
void coverAllRecords(WorkRecord& work);
// The area of the triangle a, b, c.
double triangleArea(PlanePoint a, PlanePoint b, PlanePoint c);
// Distance between the work's position and its previous position, in decimetres.
double stepLength(const WorkRecord& work);
