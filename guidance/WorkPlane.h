// Where a work's plane is: the longitude and latitude of its first fix and that fix's easting and
// northing (dm) in the zone it lies in. Until originSet the next fix becomes the origin.
#pragma once

#include <cstdint>

#include "guidance/SharedValue.h"

struct WorkPlane {
    double originLonLat[2] = {};
    SharedValue<std::uint8_t> originSet{0};
    double originX = 0.0;
    double originY = 0.0;
};
