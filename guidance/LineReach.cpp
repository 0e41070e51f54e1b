#include "guidance/LineReach.h"

#include <algorithm>
#include <cmath>

double lineReach(double spacing) {
    // A line without a spacing has only line 0: the limit alone holds.
    if (!(spacing > 0.0)) return kLineReachLimit;
    return std::min(kLineReachWidths * spacing, kLineReachLimit);
}

std::int32_t farthestParallel(double spacing) {
    if (!(spacing > 0.0)) return 0;
    return static_cast<std::int32_t>(std::ceil(lineReach(spacing) / spacing)) + 2;
}

double distanceFromLine(const GuidanceLines& lines, Vec2 point) {
    const Vec2 d = point - lines.anchorA;
    // A and B on one spot leave no direction: the distance to A.
    if (lines.leftNormal.length() == 0.0) return d.length();
    return std::fabs(d.x * lines.leftNormal.x + d.y * lines.leftNormal.y);
}

double distanceFromCurve(const CurveGuidance& curve, Vec2 point) {
    if (curve.reference.empty()) return 0.0;
    return curve.reference.nearest(point, curve.referenceHint).distance;
}
