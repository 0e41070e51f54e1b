// One strip record: the left and right implement edge at an accepted fix, in plane decimetres.
#pragma once

#include <cstdint>

struct TrackEdge {
    std::int32_t leftX = 0;
    std::int32_t leftY = 0;
    std::int32_t rightX = 0;
    std::int32_t rightY = 0;
};

// Capacity of the work record: fixCount is 16 bits wide.
inline constexpr int kTrackCapacity = 65535;
