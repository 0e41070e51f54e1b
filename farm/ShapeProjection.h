// A field's shape in metres: the UTM zone (WGS 84) of a point, by GDAL's own transformations,
// to and from longitude and latitude. The transformations of each zone are made once per thread
// and kept: a farm's fields lie in one zone or two, and the start screen measures them all.
#pragma once

#include "farm/FieldShape.h"

class OGRCoordinateTransformation;

class ShapeProjection {
  public:
    // The zone of this point (its hemisphere included).
    explicit ShapeProjection(LonLat zonePoint);
    bool ok() const { return toUtm_ && toLonLat_; }
    // In place; false when a point could not be transformed (the shape is then unusable).
    bool toMetres(FieldShape& shape) const;
    bool toDegrees(FieldShape& shape) const;
    bool toMetres(LonLat& point) const;

  private:
    OGRCoordinateTransformation* toUtm_ = nullptr;
    OGRCoordinateTransformation* toLonLat_ = nullptr;
};

// The zone of the shape's first point; an empty shape has none (not ok()).
ShapeProjection projectionOfShape(const FieldShape& shape);
