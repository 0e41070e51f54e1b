// A work's ground as one multipolygon, and back: the union of its worked quads in WGS 84 for the
// book, and a saved ground cut into triangles in a work's plane, for drawing earlier works and
// counting a continued work's ground as worked.
#pragma once

#include <vector>

#include "coverage/StripQuad.h"
#include "farm/FieldShape.h"
#include "guidance/WorkPlane.h"

// The union of the quads (plane dm) in WGS 84. Runs on the farm thread: it opens its own
// transformations into the plane's zone.
FieldShape groundOfQuads(const std::vector<StripQuad>& quads, const WorkPlane& plane);
// The shape in the plane, cut into triangles (each a quad whose newer corners are one point:
// newerLeft == newerRight) that cover its ground once.
std::vector<StripQuad> trianglesInPlane(const FieldShape& shape, const WorkPlane& plane);
// The shape's rings in the plane (dm), for drawing and for the tests of a path against them.
std::vector<std::vector<GroundPoint>> ringsInPlane(const FieldShape& shape, const WorkPlane& plane);
