#include "guidance/FixFilter.h"

#include <cmath>

bool hasPosition(const GPS_POSITION& fix) {
    if (!std::isfinite(fix.latitude) || !std::isfinite(fix.longitude)) return false;
    if (std::fabs(fix.latitude) > 90.0 || std::fabs(fix.longitude) > 180.0) return false;
    return fix.latitude != 0.0 || fix.longitude != 0.0;
}

bool passesFilters(const FixFilter& filter, double speedKnots, double hdop, double d2) {
    if (!(speedKnots > filter.speedThreshold)) return false;
    if (!(hdop < filter.hdopThreshold)) return false;
    return d2 > filter.distanceSquared;
}
