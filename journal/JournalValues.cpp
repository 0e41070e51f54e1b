#include "journal/JournalValues.h"

#include <cmath>

#include "journal/JournalFormat.h"

namespace journal {

namespace {

bool inPlane(double x, double y) {
    return insidePlane(x, y);
}

bool inPlane(Vec2 p) {
    return inPlane(p.x, p.y);
}

// A work's totals only ever grow from nothing.
bool total(double value) {
    return std::isfinite(value) && value >= 0.0;
}

}  // namespace

bool JournalValues::trusted(const JournalContents& c, std::uint8_t type) {
    switch (type) {
        case kRecordWorkStart:
            return c.implementHalfWidth <= c.implementWidth;
        case kRecordStripDm:
        case kRecordStrip: {
            // Passed over before the work's start, as a type of a later program would be.
            if (c.strips.empty()) return true;
            const TrackEdge& e = c.strips.back();
            return inPlane(e.leftX, e.leftY) && inPlane(e.rightX, e.rightY) && total(c.distance) &&
                   total(c.area);
        }
        case kRecordPointA:
            return inPlane(c.pointA);
        case kRecordPointB:
            return inPlane(c.pointB) && c.spacing >= 0.0 && c.spacing <= kWidestSpacing;
        case kRecordCurvePoints:
            for (; curveChecked_ < c.curvePath.size(); ++curveChecked_)
                if (!inPlane(c.curvePath[curveChecked_])) return false;
            return true;
        case kRecordView:
            return c.zoom >= kLowestZoom && c.zoom <= kHighestZoom;
        default:
            return true;
    }
}

}  // namespace journal
