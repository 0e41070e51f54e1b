// Which fixes move the vehicle: those with a position, fast enough, precise enough and far
// enough from the last accepted position.
#pragma once

#include "gpslink/satlinker.h"

struct FixFilter {
    double speedThreshold = 1.0;  // knots
    double hdopThreshold = 2.5;
    double distanceSquared = 25.0;  // dm^2
};

// A receiver may report a fix quality with empty or impossible position fields; the record
// then carries the last position it had, which before the first one is (0, 0). Such a fix
// must neither end the wait for a fix nor become a work's origin.
bool hasPosition(const GPS_POSITION& fix);
// Every comparison is strict; d2 is the squared step (dm^2) from the last accepted position.
bool passesFilters(const FixFilter& filter, double speedKnots, double hdop, double d2);
