// What the information panel shows of the newest fix, accepted or not.
#pragma once

#include <atomic>
#include <cstdint>

struct FixReadings {
    std::atomic<std::int32_t> fixQuality{0};
    std::uint8_t satellitesUsed = 0;
    float hdop = 0.0f;
    float speedKnots = 0.0f;
    // The newest fix's place (longitude, latitude), once a fix had one: the field choice offers
    // the field underfoot first. Read and written under the frame lock.
    double lonLat[2] = {};
    std::uint8_t lonLatKnown = 0;
};
