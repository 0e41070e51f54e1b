// The two operations on a recorded path that are left to GEOS: thinning it and the parallel
// curve at a distance. Each thread has its own GEOS context.
#pragma once

#include <vector>

#include "guidance/Vec2.h"

// The path with every point closer than tolerance (dm) to the simplified path dropped.
std::vector<Vec2> thinPath(const std::vector<Vec2>& path, double tolerance);
// The curve at distance (dm) to the right of the path (left when negative), in the path's
// direction; the inside of a bend tighter than the distance is cut off rather than looped.
std::vector<Vec2> offsetPath(const std::vector<Vec2>& path, double distance);
