#include "corrections/GgaSentence.h"

#include <cmath>
#include <cstdio>

#include "gpslink/NmeaSentence.h"

namespace {

// ddmm.mmmmmmm / dddmm.mmmmmmm: seven decimals of a minute are under a millimetre.
std::string angle(double degrees, int degreeDigits) {
    const double a = std::fabs(degrees);
    int whole = int(a);
    double minutes = (a - whole) * 60.0;
    if (minutes >= 59.99999995) {
        minutes = 0;
        ++whole;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%0*d%010.7f", degreeDigits, whole, minutes);
    return text;
}

}  // namespace

std::string ggaSentence(const GPS_POSITION& fix) {
    if (!std::isfinite(fix.latitude) || !std::isfinite(fix.longitude) ||
        std::fabs(fix.latitude) > 90 || std::fabs(fix.longitude) > 180 ||
        (fix.latitude == 0 && fix.longitude == 0)) {
        return {};
    }
    char body[160];
    std::snprintf(body, sizeof body,
                  "GPGGA,%02u%02u%02u.00,%s,%c,%s,%c,%u,%02u,%.1f,%.1f,M,0.0,M,,",
                  unsigned(fix.utcTime.hour % 24), unsigned(fix.utcTime.minute % 60),
                  unsigned(fix.utcTime.second % 60), angle(fix.latitude, 2).c_str(),
                  fix.latitude < 0 ? 'S' : 'N', angle(fix.longitude, 3).c_str(),
                  fix.longitude < 0 ? 'W' : 'E', unsigned(fix.fixQuality > 9 ? 1 : fix.fixQuality),
                  unsigned(fix.satelliteCount > 99 ? 99 : fix.satelliteCount),
                  std::isfinite(fix.hdop) ? double(fix.hdop) : 0.0,
                  std::isfinite(fix.altitudeSeaLevel) ? double(fix.altitudeSeaLevel) : 0.0);
    return nmeaSentence(body);
}
