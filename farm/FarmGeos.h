// GEOS for the farm book's shapes: the farm code's own reentrant context (one per thread, as the
// farm thread and the user-interface thread both ask for geometry), geometries that free
// themselves, and the conversions between a field's shape and GEOS's polygons. Coordinates
// are taken as they are: degrees, UTM metres or plane decimetres, as the caller holds them.
#pragma once

#define GEOS_USE_ONLY_R_API
#include <geos_c.h>

#include <memory>

#include "farm/FieldShape.h"

GEOSContextHandle_t farmGeos();

struct GeosFree {
    void operator()(GEOSGeometry* g) const {
        if (g) GEOSGeom_destroy_r(farmGeos(), g);
    }
};
using GeosPtr = std::unique_ptr<GEOSGeometry, GeosFree>;

// A multipolygon of the shape's polygons; rings of fewer than three distinct points are left
// out. Null when nothing is left.
GeosPtr geosOfShape(const FieldShape& shape);
GeosPtr geosOfPolygon(const FieldPolygon& polygon);
// Every polygon in g (a polygon, a multipolygon or a collection holding them), rings open again;
// lines and points (what make-valid leaves of a collapsed piece) are dropped.
FieldShape shapeOfGeos(const GEOSGeometry* g);
