// The work record: strip records, worked area and driven distance.
#include "guidance/WorkedStrip.h"

#include <cmath>

bool appendStrip(WorkRecord& work, PlanePoint p, double offX, double offY, double d2) {
    const std::uint32_t count = work.strips.size();
    // Nothing wraps or overwrites: the work stops growing, and area and distance with it.
    if (!work.strips.push_back({p.x - offX, p.y + offY, p.x + offX, p.y - offY})) {
        work.workFull = 1;
        return false;
    }
    if (count > 0) {
        // The whole step counts, fractions included: the distance is the length driven.
        work.distance += std::sqrt(d2);
    }
    addStripArea(work);
    if (work.strips.full()) work.workFull = 1;
    return true;
}

void addStripArea(WorkRecord& work) {
    const std::size_t n = work.strips.size();
    if (n < 2) return;
    const TrackEdge& before = work.strips[n - 2];
    const TrackEdge& last = work.strips[n - 1];
    PlanePoint leftBefore{before.leftX, before.leftY};
    PlanePoint rightBefore{before.rightX, before.rightY};
    PlanePoint leftLast{last.leftX, last.leftY};
    PlanePoint rightLast{last.rightX, last.rightY};
    // Two triangles tile the quad between the two newest records.
    work.workedArea += triangleArea(leftBefore, rightBefore, leftLast);
    work.workedArea += triangleArea(rightBefore, leftLast, rightLast);
}

double triangleArea(PlanePoint a, PlanePoint b, PlanePoint c) {
    // Formed from differences, so the size of the coordinates costs no precision.
    double bx = b.x - a.x;
    double by = b.y - a.y;
    double cx = c.x - a.x;
    double cy = c.y - a.y;
    return 0.5 * std::fabs(bx * cy - cx * by);
}

double stepLength(const WorkRecord& work) {
    double dx = work.position.x - work.previousPosition.x;
    double dy = work.position.y - work.previousPosition.y;
    return std::sqrt(dx * dx + dy * dy);
}
