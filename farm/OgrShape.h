// A field's shape as GDAL's geometries and back: the farm book, the import and the export all
// read and write the same multipolygons of longitude and latitude.
#pragma once

#include <ogr_geometry.h>

#include <vector>

#include "farm/FieldShape.h"

// Each ring closed again, as GDAL's rings are.
OGRMultiPolygon multiPolygonOf(const FieldShape& shape);
// The points of a line or ring; open drops a ring's repeated last point.
std::vector<LonLat> pointsOf(const OGRSimpleCurve& curve, bool open);
// Every polygon of the geometry, however a format nests them (KML's MultiGeometry is a
// collection; curved polygons are made of straight stretches first); nothing else.
FieldShape shapeOf(const OGRGeometry* geometry);
