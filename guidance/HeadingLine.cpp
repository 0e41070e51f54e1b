// Grid north and true north differ by the meridian convergence (up to a few degrees at a zone's
// edge), so the heading is not used as a grid bearing: a point ten metres along the true
// heading on the WGS 84 ellipsoid is projected beside the given one, and their difference is
// the grid direction.
#include "guidance/HeadingLine.h"

#include <cmath>
#include <numbers>

#include "guidance/Projection.h"

namespace {

constexpr double kSemiMajor = 6378137.0;
constexpr double kFlattening = 1.0 / 298.257223563;
constexpr double kStep = 10.0;  // metres

}  // namespace

std::optional<Vec2> gridDirection(ProjectionTransforms& transforms, WorkPlane& plane,
                                  double longitude, double latitude, double headingDegrees) {
    if (!std::isfinite(headingDegrees)) return std::nullopt;
    constexpr double rad = std::numbers::pi / 180.0;
    const double e2 = kFlattening * (2.0 - kFlattening);
    const double s = std::sin(latitude * rad);
    const double w = std::sqrt(1.0 - e2 * s * s);
    // The radii of curvature along the meridian and across it.
    const double meridian = kSemiMajor * (1.0 - e2) / (w * w * w);
    const double primeVertical = kSemiMajor / w;
    const double h = headingDegrees * rad;
    const double dLat = kStep * std::cos(h) / meridian / rad;
    const double dLon = kStep * std::sin(h) / (primeVertical * std::cos(latitude * rad)) / rad;
    // Half a step to each side, so the direction is the one at the point itself.
    const std::optional<PlanePoint> back =
        projectFix(transforms, plane, longitude - dLon / 2, latitude - dLat / 2);
    const std::optional<PlanePoint> ahead =
        projectFix(transforms, plane, longitude + dLon / 2, latitude + dLat / 2);
    if (!back || !ahead) return std::nullopt;
    Vec2 d{ahead->x - back->x, ahead->y - back->y};
    if (d.length() == 0.0) return std::nullopt;
    d.normalize();
    return d;
}
