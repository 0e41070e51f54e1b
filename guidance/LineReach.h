// How far from its reference line a work is guided. Parallels are made only within a few
// hundred implement widths of the line, and never farther than a few kilometres: beyond that a
// line is no field's line (a line of another farm, a journal that lies), and a parallel that far
// out would cost the fix callback more than a fix's time, or GEOS its stack.
#pragma once

#include <cstdint>

#include "guidance/CurveLines.h"
#include "guidance/GuidanceLines.h"
#include "guidance/Vec2.h"

inline constexpr double kLineReachWidths = 300.0;
inline constexpr double kLineReachLimit = 30000.0;  // dm: 3 km

// The distance (dm) from the reference line within which its parallels one spacing apart are
// made.
double lineReach(double spacing);
// The farthest parallel made on either side: the last one within reach and its neighbour.
std::int32_t farthestParallel(double spacing);
// The distance (dm) from the straight line through A and B, extended without end.
double distanceFromLine(const GuidanceLines& lines, Vec2 point);
// The distance (dm) from the curve with its straight runs beyond A and B.
double distanceFromCurve(const CurveGuidance& curve, Vec2 point);
