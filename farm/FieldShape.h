// A field's shape in WGS 84: a multipolygon of longitude and latitude, each polygon an outer
// ring and its holes (a pond, a mast). Rings are open: the first point is not repeated at the
// end. The same shape holds a boundary, a headland's inner line and a work's ground.
#pragma once

#include <vector>

struct LonLat {
    double lon = 0.0;
    double lat = 0.0;
};

struct FieldPolygon {
    std::vector<LonLat> outer;
    std::vector<std::vector<LonLat>> holes;
};

using FieldShape = std::vector<FieldPolygon>;
