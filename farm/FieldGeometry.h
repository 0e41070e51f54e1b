// What GEOS makes of a field's shape: a valid polygon out of a sloppy drive or file, its area,
// the headland's inner line, and a point's distance from the field. Areas and distances are
// taken in the UTM zone of the shape's first point, in metres.
#pragma once

#include <string>

#include "farm/FieldShape.h"

// A valid multipolygon of the same ground (self-intersections resolved by GEOS's make-valid,
// holes kept as holes, pieces without area dropped); false with the reason when nothing of
// area is left.
bool makeFieldValid(const FieldShape& in, FieldShape& out, std::string& error);
// Square metres.
double fieldAreaM2(const FieldShape& shape);
// The boundary buffered inward by widthM metres: the headland's inner line. Empty when the
// field is narrower than twice the headland.
FieldShape headlandLine(const FieldShape& boundary, double widthM);
// Metres from the point to the shape's ground: 0 inside it.
double distanceToFieldM(const FieldShape& shape, LonLat point);
// The shape as it stands is a valid multipolygon (no mending needed).
bool fieldShapeIsValid(const FieldShape& shape);
