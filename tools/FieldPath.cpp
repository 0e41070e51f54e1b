#include "tools/FieldPath.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEarthRadius = 6378137.0;

double radians(double degrees) {
    return degrees * kPi / 180.0;
}

// The field frame bent around a centre R to the right of the first pass: the line x = c
// becomes the circle of radius R - c, y the length along it.
void bend(double R, double& x, double& y) {
    const double theta = y / R;
    const double r = R - x;
    x = R - r * std::cos(theta);
    y = r * std::sin(theta);
}

}  // namespace

FieldPoint pointAlongPath(const FieldPathConfig& config, double distance, double eastNoise,
                          double northNoise) {
    // Work in the field's own frame: y along the first pass, x to its right.
    const double length = config.passLength > 0 ? config.passLength : 1.0;
    const double radius = (config.spacing > 0 ? config.spacing : 1.0) / 2.0;
    const double turn = kPi * radius;
    const double cycle = length + turn;
    const double s = distance > 0 ? distance : 0.0;
    const long pass = static_cast<long>(std::floor(s / cycle));
    const double into = s - static_cast<double>(pass) * cycle;
    const bool outward = pass % 2 == 0;
    const double passX = static_cast<double>(pass) * 2.0 * radius;
    double x = 0, y = 0, localCourse = 0;
    if (into < length) {
        x = passX;
        y = outward ? into : length - into;
        localCourse = outward ? 0.0 : 180.0;
    } else {
        // Half a circle over to the next pass: a right turn at the far end, a left one back home.
        const double phi = (into - length) / radius;
        x = passX + radius - radius * std::cos(phi);
        y = outward ? length + radius * std::sin(phi) : -radius * std::sin(phi);
        localCourse = outward ? phi * 180.0 / kPi : 180.0 - phi * 180.0 / kPi;
    }
    if (config.bendRadius > 0.0) {
        // y runs along the arcs, x across them; the course is that of the chord from half a
        // centimetre behind to half a centimetre ahead, the arc's own tangent.
        const double c = radians(localCourse);
        const double half = 0.005;
        double aheadX = x + half * std::sin(c), aheadY = y + half * std::cos(c);
        double behindX = x - half * std::sin(c), behindY = y - half * std::cos(c);
        bend(config.bendRadius, x, y);
        bend(config.bendRadius, aheadX, aheadY);
        bend(config.bendRadius, behindX, behindY);
        localCourse = std::atan2(aheadX - behindX, aheadY - behindY) * 180.0 / kPi;
    }
    const double h = radians(config.headingDegrees);
    const double east = x * std::cos(h) + y * std::sin(h) + eastNoise;
    const double north = -x * std::sin(h) + y * std::cos(h) + northNoise;
    FieldPoint point;
    point.latitude = config.originLatitude + north / kEarthRadius * 180.0 / kPi;
    point.longitude =
        config.originLongitude +
        east / (kEarthRadius * std::cos(radians(config.originLatitude))) * 180.0 / kPi;
    point.course = std::fmod(localCourse + config.headingDegrees + 720.0, 360.0);
    return point;
}
