// Guidance starts at once on the tap that completes a line: B for the straight line and the
// curve, A for the line at a heading, which takes the typed heading or else the smoothed one.
#include "app/AbPoints.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "app/AppState.h"
#include "app/ViewTransform.h"
#include "app/WorkScreen.h"
#include "guidance/GuidanceLines.h"
#include "guidance/HeadingLine.h"
#include "guidance/LineReach.h"
#include "guidance/Projection.h"
#include "journal/WorkJournal.h"

namespace {

// Where B is put along a heading; the guide lines run on beyond both points anyway.
constexpr double kHeadingLineLength = 1000.0;  // dm

// The guide lines are exactly one implement width apart, centimetres to decimetres.
double spacing() {
    return appState.settings.implementWidth * 0.1;
}

void startGuidance() {
    appState.ui.screenState = kStateGuidance;
    appState.ui.abReady = 1;
}

void startHeadingLine(Vec2 a) {
    AppState& s = appState;
    std::optional<Vec2> direction =
        gridDirection(appState.projection, appState.work.plane, s.work.positionLonLat[0],
                      s.work.positionLonLat[1], s.settings.headingDegrees);
    if (!direction) direction = Vec2{s.heading.east, s.heading.north};
    if (direction->length() == 0.0) return;  // no heading typed and none driven yet
    direction->normalize();
    s.work.pointA = a;
    s.work.pointASet = 1;
    s.work.pointB = a + kHeadingLineLength * *direction;
    setAbLine(s.work.guidance, s.work.pointA, s.work.pointB, spacing());
    s.work.curveActive = 0;
    journalPointA(s.work.pointA);
    journalPointB(s.work.pointB, spacing());
    startGuidance();
}

}  // namespace

bool startCurveGuidance(const std::vector<Vec2>& path) {
    AppState& s = appState;
    if (!setCurveLine(s.work.curve, path, spacing())) return false;
    s.work.curveActive = 1;
    s.work.curveRecording.clear();
    s.view.curveRecordScreen.clear();
    for (auto& line : s.guide.curveLinesWorld) line.clear();
    for (auto& line : s.view.curveLinesScreen) line.clear();
    startGuidance();
    return true;
}

void takeAbPoint() {
    AppState& s = appState;
    if (!s.work.positionSet) return;
    const Vec2 point{s.work.position.x, s.work.position.y};
    s.ui.savedLineRefusedAt = 0.0;
    if (s.settings.guidancePattern == kPatternHeading) {
        startHeadingLine(point);
        return;
    }
    if (!s.work.pointASet) {
        s.work.pointA = point;
        s.work.pointASet = 1;
        s.work.curveRecording.clear();
        if (s.settings.guidancePattern == kPatternCurve) s.work.curveRecording.push_back(point);
        journalPointA(point);
        recomputeView();
        return;
    }
    s.work.pointB = point;
    if (s.settings.guidancePattern == kPatternCurve) {
        if (s.work.curveRecording.empty() || s.work.curveRecording.back().x != point.x ||
            s.work.curveRecording.back().y != point.y)
            s.work.curveRecording.push_back(point);
        // A and B on the same spot make no curve: the tap waits for the vehicle to move.
        if (startCurveGuidance(s.work.curveRecording)) {
            journalCurvePath(s.work.curve.path);
            journalPointB(point, spacing());
        }
        return;
    }
    setAbLine(s.work.guidance, s.work.pointA, s.work.pointB, spacing());
    s.work.curveActive = 0;
    journalPointB(point, spacing());
    startGuidance();
}

void adoptSavedLine() {
    AppState& s = appState;
    if (s.ui.savedLineLonLat.size() < 4 || !s.work.positionSet) return;
    std::vector<Vec2> line;
    for (std::size_t i = 0; i + 1 < s.ui.savedLineLonLat.size(); i += 2) {
        const std::optional<PlanePoint> p =
            projectFix(appState.projection, appState.work.plane, s.ui.savedLineLonLat[i],
                       s.ui.savedLineLonLat[i + 1]);
        if (!p) return;  // tried again with the next fix
        line.push_back({p->x, p->y});
    }
    s.ui.savedLineLonLat.clear();
    const bool curved = s.ui.savedLinePattern == kPatternCurve;
    // Already thinned when it was driven: the same tracks, point for point.
    CurveGuidance curve;
    if (curved && !setCurvePath(curve, line, spacing())) return;
    // The straight line through A and B also stands behind a curve, as after a resume.
    GuidanceLines straight;
    setAbLine(straight, line.front(), line.back(), spacing());
    const Vec2 here{s.work.position.x, s.work.position.y};
    // A line of another field (another farm, a work chosen by mistake) is not taken: the
    // driver sees how far it lies and sets A and B himself.
    const double away = curved ? distanceFromCurve(curve, here) : distanceFromLine(straight, here);
    if (!(away <= lineReach(spacing()))) {
        s.ui.savedLineRefusedAt = std::isfinite(away) ? std::min(away, 1e9) : 1e9;
        return;
    }
    s.work.pointASet = 1;
    s.work.pointA = line.front();
    s.work.pointB = line.back();
    journalPointA(s.work.pointA);
    s.work.curveActive = curved ? 1 : 0;
    if (curved) {
        s.work.curve = std::move(curve);
        journalCurvePath(s.work.curve.path);
    }
    s.work.guidance = std::move(straight);
    journalPointB(s.work.pointB, spacing());
    startGuidance();
}
