// The fields in the order the start screen offers them: the field the vehicle stands in first
// (or the nearest), then the others by distance.
#pragma once

#include <cstddef>
#include <vector>

#include "farm/FarmContents.h"

struct FieldByDistance {
    std::size_t index = 0;  // into FarmContents::fields
    double metres = 0.0;    // 0 inside the field
};

std::vector<FieldByDistance> fieldsByDistance(const FarmContents& contents, LonLat vehicle);
