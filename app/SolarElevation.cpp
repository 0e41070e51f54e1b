#include "app/SolarElevation.h"

#include <cmath>

namespace {

constexpr double kDegree = M_PI / 180.0;

// Days from 1970-01-01 of a Gregorian date (the civil-from-days inverse, valid for every year).
std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

double wrapDegrees(double a) {
    a = std::fmod(a, 360.0);
    return a < 0.0 ? a + 360.0 : a;
}

}  // namespace

double utcSeconds(int year, int month, int day, int hour, int minute, double second) {
    return double(daysFromCivil(year, month, day)) * 86400.0 + hour * 3600.0 + minute * 60.0 +
           second;
}

double solarElevation(double latitude, double longitude, double utc) {
    // Days from J2000.0 (2000-01-01 12:00, taken as UT: the 70-odd seconds to terrestrial time
    // move the sun by far less than the accuracy needed).
    const double n = utc / 86400.0 - 10957.5;
    const double meanLongitude = wrapDegrees(280.460 + 0.9856474 * n);
    const double meanAnomaly = wrapDegrees(357.528 + 0.9856003 * n) * kDegree;
    const double eclipticLongitude =
        (meanLongitude + 1.915 * std::sin(meanAnomaly) + 0.020 * std::sin(2.0 * meanAnomaly)) *
        kDegree;
    const double obliquity = (23.439 - 0.0000004 * n) * kDegree;
    const double rightAscension =
        std::atan2(std::cos(obliquity) * std::sin(eclipticLongitude), std::cos(eclipticLongitude));
    const double declination = std::asin(std::sin(obliquity) * std::sin(eclipticLongitude));
    // Greenwich mean sidereal time, then the local hour angle of the sun.
    const double siderealTime = wrapDegrees(280.46061837 + 360.98564736629 * n);
    const double hourAngle = (siderealTime + longitude) * kDegree - rightAscension;
    const double phi = latitude * kDegree;
    const double sinElevation = std::sin(phi) * std::sin(declination) +
                                std::cos(phi) * std::cos(declination) * std::cos(hourAngle);
    return std::asin(std::fmax(-1.0, std::fmin(1.0, sinElevation))) / kDegree;
}
