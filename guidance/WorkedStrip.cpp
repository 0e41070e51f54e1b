// The work record: strip records, worked area and driven distance.
#include "guidance/WorkedStrip.h"

#include <cmath>

#include "app/AppState.h"
#include "journal/WorkJournal.h"

void appendStrip(PlanePoint p, double offX, double offY, double d2) {
    std::uint16_t count = appState.work.strips.size();
    // Nothing wraps or overwrites: the work stops growing, and area and distance with it.
    if (!appState.work.strips.push_back({p.x - offX, p.y + offY, p.x + offX, p.y - offY})) {
        appState.work.workFull = 1;
        return;
    }
    if (count + 1 > 1) {
        // The whole step counts, fractions included: the distance is the length driven.
        appState.work.distance += std::sqrt(d2);
    }
    addStripArea();
    journalStripAdded();
    if (count + 1 >= kTrackCapacity) appState.work.workFull = 1;
}

void addStripArea() {
    int n = appState.work.strips.size();
    if (n < 2) return;
    const TrackEdge& before = appState.work.strips[n - 2];
    const TrackEdge& last = appState.work.strips[n - 1];
    PlanePoint leftBefore{before.leftX, before.leftY};
    PlanePoint rightBefore{before.rightX, before.rightY};
    PlanePoint leftLast{last.leftX, last.leftY};
    PlanePoint rightLast{last.rightX, last.rightY};
    // Two triangles tile the quad between the two newest records.
    triangleArea(leftBefore, rightBefore, leftLast);
    triangleArea(rightBefore, leftLast, rightLast);
}

void triangleArea(PlanePoint a, PlanePoint b, PlanePoint c) {
    // Formed from differences, so the size of the coordinates costs no precision.
    double bx = b.x - a.x;
    double by = b.y - a.y;
    double cx = c.x - a.x;
    double cy = c.y - a.y;
    appState.work.workedArea += 0.5 * std::fabs(bx * cy - cx * by);
}

double stepLength() {
    double dx = appState.work.position.x - appState.work.previousPosition.x;
    double dy = appState.work.position.y - appState.work.previousPosition.y;
    return std::sqrt(dx * dx + dy * dy);
}
