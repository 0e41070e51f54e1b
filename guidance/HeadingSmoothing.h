// The vehicle's heading: the mean of the last 20 unit steps while it stays close to the heading
// before it, otherwise the newest step itself.
#pragma once

#include <cstdint>

inline constexpr int kHeadingHistory = 20;

// The smoothed heading and the unit steps it is the mean of. It outlives works: the history
// fills again at the start of each one.
struct HeadingState {
    float east = 0.0f;
    float north = 0.0f;
    float historyEast[kHeadingHistory] = {};
    float historyNorth[kHeadingHistory] = {};
};

// Takes the unit step (east, north) of an accepted fix into the history and sets the heading;
// recordsBefore is the number of strip records before this fix.
void smoothHeading(HeadingState& heading, double east, double north, std::uint32_t recordsBefore);
