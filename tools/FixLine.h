// The one-line form of a delivered fix, as nmeadump prints it and the log comparisons expect:
// time, latitude, longitude, quality, satellites, HDOP, speed in knots.
#pragma once

#include <cstdio>

#include "gpslink/satlinker.h"

inline int formatFixLine(const GPS_POSITION& p, char* line, std::size_t size) {
    return std::snprintf(line, size, "%02u:%02u:%02u %.7f %.7f %u %u %.2f %.2f\n",
                         unsigned{p.utcTime.hour}, unsigned{p.utcTime.minute},
                         unsigned{p.utcTime.second}, p.latitude, p.longitude,
                         unsigned{p.fixQuality}, unsigned{p.satelliteCount},
                         static_cast<double>(p.hdop), static_cast<double>(p.speed));
}
