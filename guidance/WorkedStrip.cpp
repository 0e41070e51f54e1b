// The work record: strip records, worked area and driven distance.
#include "guidance/WorkedStrip.h"

#include <cmath>

bool appendStrip(WorkRecord& work, PlanePoint p, double offX, double offY, double d2) {
    // The whole step counts, fractions included: the distance is the length driven.
    return appendEdge(work, {p.x - offX, p.y + offY, p.x + offX, p.y - offY},
                      work.strips.empty() ? 0.0 : std::sqrt(d2));
}

bool appendEdge(WorkRecord& work, const TrackEdge& edge, double distance) {
    // Nothing wraps or overwrites: the work stops growing, and area and distance with it.
    if (!work.strips.push_back(edge)) {
        work.workFull = 1;
        return false;
    }
    work.distance += distance;
    coverNewRecords(work);
    if (work.strips.full()) work.workFull = 1;
    return true;
}

void coverNewRecords(WorkRecord& work) {
    const std::uint32_t count = work.strips.size();
    const auto& marks = work.pauseMarks;
    for (std::uint32_t n = work.coveredRecords; n < count; ++n) {
        while (work.nextPauseMark < marks.size() && marks[work.nextPauseMark] < n)
            ++work.nextPauseMark;
        const bool parted = work.nextPauseMark < marks.size() && marks[work.nextPauseMark] == n;
        if (n == 0 || parted) {
            work.segmentStart = work.distance;
            continue;
        }
        const TrackEdge& before = work.strips[n - 1];
        const TrackEdge& last = work.strips[n];
        const StripQuad quad{{before.leftX, before.leftY},
                             {before.rightX, before.rightY},
                             {last.leftX, last.leftY},
                             {last.rightX, last.rightY}};
        // Two triangles tile the quad between two records in a row.
        work.workedArea += triangleArea({before.leftX, before.leftY},
                                        {before.rightX, before.rightY}, {last.leftX, last.leftY});
        work.workedArea += triangleArea({before.rightX, before.rightY}, {last.leftX, last.leftY},
                                        {last.rightX, last.rightY});
        work.groundArea += work.coverage.add(quad);
        work.stripLevels.add(quad);
    }
    work.coveredRecords = count;
}

void coverAllRecords(WorkRecord& work) {
    work.coverage = CoverageMap{};
    work.stripLevels = StripLevels{};
    work.coveredRecords = 0;
    work.nextPauseMark = 0;
    work.workedArea = 0.0;
    work.groundArea = 0.0;
    coverNewRecords(work);
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
