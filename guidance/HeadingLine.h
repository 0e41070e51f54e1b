// The A + heading line: a heading in degrees clockwise from true north, at a point given in
// longitude and latitude, turned into a direction of the work plane's grid.
#pragma once

#include <optional>

#include "guidance/Projection.h"
#include "guidance/Vec2.h"

// The unit grid direction of the true heading at the point; nothing when the plane cannot
// take the point.
std::optional<Vec2> gridDirection(ProjectionTransforms& transforms, WorkPlane& plane,
                                  double longitude, double latitude, double headingDegrees);
