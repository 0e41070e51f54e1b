// The work record: strip records, worked area and driven distance.
#include "guidance/WorkedStrip.h"

#include <cmath>
#include <cstdlib>

#include "app/AppState.h"
#include "journal/WorkJournal.h"

void appendStrip(IntPoint p, std::int32_t offX, std::int32_t offY, std::int64_t d2) {
    std::uint16_t count = appState.fixCount.load(std::memory_order_relaxed);
    if (count >= kTrackCapacity) {
        // Nothing wraps or overwrites: the work stops growing, and area and distance with it.
        appState.workFull = 1;
        return;
    }
    // The record is complete before the count that makes it visible is raised.
    appState.trackEdges[count] = {p.x - offX, p.y + offY, p.x + offX, p.y - offY};
    appState.fixCount.store(static_cast<std::uint16_t>(count + 1), std::memory_order_release);
    if (count + 1 > 1) {
        // Each step's fraction of a decimetre is dropped, as the panel has always counted.
        appState.distance =
            static_cast<std::int32_t>(appState.distance + std::sqrt(static_cast<double>(d2)));
    }
    addStripArea();
    journalStripAdded();
    if (count + 1 >= kTrackCapacity) appState.workFull = 1;
}

void addStripArea() {
    int n = appState.fixCount.load(std::memory_order_acquire);
    if (n < 2) return;
    const TrackEdge& before = appState.trackEdges[n - 2];
    const TrackEdge& last = appState.trackEdges[n - 1];
    IntPoint leftBefore{before.leftX, before.leftY};
    IntPoint rightBefore{before.rightX, before.rightY};
    IntPoint leftLast{last.leftX, last.leftY};
    IntPoint rightLast{last.rightX, last.rightY};
    // Two triangles tile the quad between the two newest records.
    triangleArea(leftBefore, rightBefore, leftLast);
    triangleArea(rightBefore, leftLast, rightLast);
}

void triangleArea(IntPoint a, IntPoint b, IntPoint c) {
    // Exact whatever the coordinates: differences fit 33 bits, so their products fit 128.
    using Wide = __int128;
    Wide bx = Wide(b.x) - a.x;
    Wide by = Wide(b.y) - a.y;
    Wide cx = Wide(c.x) - a.x;
    Wide cy = Wide(c.y) - a.y;
    Wide cross = bx * cy - cx * by;
    appState.workedArea += 0.5 * static_cast<double>(cross < 0 ? -cross : cross);
}

double stepLength() {
    double dx = static_cast<double>(appState.position.x) - appState.previousPosition.x;
    double dy = static_cast<double>(appState.position.y) - appState.previousPosition.y;
    return std::sqrt(dx * dx + dy * dy);
}
