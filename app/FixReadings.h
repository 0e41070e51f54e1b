// What the information panel shows of the newest fix, accepted or not.
#pragma once

#include <atomic>
#include <cstdint>

struct FixReadings {
    std::atomic<std::int32_t> fixQuality{0};
    std::uint8_t satellitesUsed = 0;
    float hdop = 0.0f;
    float speedKnots = 0.0f;
};
