// The sun's height above the horizon at a place and instant, from the low-precision solar
// coordinates of the astronomical almanacs (good to about 0.01 degree from 1950 to 2050),
// without refraction: the geometric elevation of the sun's centre.
#pragma once

#include <cstdint>

// Seconds since 1970-01-01 00:00 UTC of a UTC calendar instant (proleptic Gregorian).
double utcSeconds(int year, int month, int day, int hour, int minute, double second);

// Degrees above the horizon (negative below) at latitude and longitude (degrees, north and
// east positive) at utc seconds since 1970-01-01 00:00 UTC.
double solarElevation(double latitude, double longitude, double utc);
