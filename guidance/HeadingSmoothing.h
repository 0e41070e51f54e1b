// The vehicle's heading: the mean of the last 20 unit steps while it stays close to the heading
// before it, otherwise the newest step itself.
#pragma once

#include <cstdint>

// Takes the unit step (east, north) of an accepted fix into the history and sets headingEast
// and headingNorth; recordsBefore is the number of strip records before this fix.
void smoothHeading(double east, double north, std::uint16_t recordsBefore);
