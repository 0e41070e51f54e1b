// Numbers are written with std::to_chars, never through the locale: a German cab PC must still
// send a decimal point.
#include "nmeaout/GuidanceSentences.h"

#include <charconv>
#include <cmath>

#include "gpslink/NmeaSentence.h"

namespace {

constexpr double kDecimetresPerNauticalMile = 18520.0;

std::string magnitude(double crossTrack) {
    char text[32];
    double miles = std::fabs(crossTrack) / kDecimetresPerNauticalMile;
    if (!std::isfinite(miles)) miles = 0.0;
    const auto r = std::to_chars(text, text + sizeof text, miles, std::chars_format::fixed, 5);
    return std::string(text, r.ec == std::errc() ? r.ptr : text);
}

// Right of the line: steer left.
const char* side(double crossTrack) {
    return crossTrack > 0.0 ? "L" : "R";
}

}  // namespace

std::string xteSentence(double crossTrack) {
    return nmeaSentence("GPXTE,A,A," + magnitude(crossTrack) + "," + side(crossTrack) + ",N");
}

// Bearings are left empty: the lines are kept in the work's grid, not in true bearings, and
// the lightbars and autopilots this serves steer by the cross-track error.
std::string apbSentence(double crossTrack) {
    return nmeaSentence("GPAPB,A,A," + magnitude(crossTrack) + "," + side(crossTrack) +
                        ",N,V,V,,T,,,T,,T");
}
