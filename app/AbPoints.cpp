// Guidance starts at once on the tap that completes a line: B for the straight line and the
// curve, A for the line at a heading, which takes the typed heading or else the smoothed one.
#include "app/AbPoints.h"

#include <cmath>
#include <optional>

#include "app/AppState.h"
#include "app/WorkScreen.h"
#include "guidance/GuidanceLines.h"
#include "guidance/HeadingLine.h"
#include "guidance/Projection.h"
#include "journal/WorkJournal.h"

namespace {

// Where B is put along a heading; the guide lines run on beyond both points anyway.
constexpr double kHeadingLineLength = 1000.0;  // dm

// The guide lines are exactly one implement width apart, centimetres to decimetres.
double spacing() {
    return appState.implementWidth * 0.1;
}

void startGuidance() {
    appState.screenState = kStateGuidance;
    appState.abReady = 1;
}

void startHeadingLine(Vec2 a) {
    AppState& s = appState;
    std::optional<Vec2> direction =
        gridDirection(s.positionLonLat[0], s.positionLonLat[1], s.headingDegrees);
    if (!direction) direction = Vec2{s.headingEast, s.headingNorth};
    if (direction->length() == 0.0) return;  // no heading typed and none driven yet
    direction->normalize();
    s.pointA = a;
    s.pointASet = 1;
    s.pointB = a + kHeadingLineLength * *direction;
    setAbLine(s.guidance, s.pointA, s.pointB, spacing());
    s.curveActive = 0;
    journalPointA(s.pointA);
    journalPointB(s.pointB, spacing());
    startGuidance();
}

}  // namespace

bool startCurveGuidance(const std::vector<Vec2>& path) {
    AppState& s = appState;
    if (!setCurveLine(s.curve, path, spacing())) return false;
    s.curveActive = 1;
    s.curveRecording.clear();
    s.curveRecordScreen.clear();
    for (auto& line : s.curveLinesWorld) line.clear();
    for (auto& line : s.curveLinesScreen) line.clear();
    startGuidance();
    return true;
}

void takeAbPoint() {
    AppState& s = appState;
    if (!s.positionSet) return;
    const Vec2 point{s.position.x, s.position.y};
    if (s.guidancePattern == kPatternHeading) {
        startHeadingLine(point);
        return;
    }
    if (!s.pointASet) {
        s.pointA = point;
        s.pointASet = 1;
        s.curveRecording.clear();
        if (s.guidancePattern == kPatternCurve) s.curveRecording.push_back(point);
        journalPointA(point);
        recomputeView();
        return;
    }
    s.pointB = point;
    if (s.guidancePattern == kPatternCurve) {
        if (s.curveRecording.empty() || s.curveRecording.back().x != point.x ||
            s.curveRecording.back().y != point.y)
            s.curveRecording.push_back(point);
        // A and B on the same spot make no curve: the tap waits for the vehicle to move.
        if (startCurveGuidance(s.curveRecording)) {
            journalCurvePath(s.curve.path);
            journalPointB(point, spacing());
        }
        return;
    }
    setAbLine(s.guidance, s.pointA, s.pointB, spacing());
    s.curveActive = 0;
    journalPointB(point, spacing());
    startGuidance();
}

void clearPatternLines() {
    AppState& s = appState;
    s.curveActive = 0;
    s.curveRecording.clear();
    s.curveRecordScreen.clear();
    s.curve = CurveGuidance{};
    for (auto& line : s.curveLinesWorld) line.clear();
    for (auto& line : s.curveLinesScreen) line.clear();
}

void adoptSavedLine() {
    AppState& s = appState;
    if (s.savedLineLonLat.size() < 4 || !s.positionSet) return;
    std::vector<Vec2> line;
    for (std::size_t i = 0; i + 1 < s.savedLineLonLat.size(); i += 2) {
        const std::optional<PlanePoint> p =
            projectFix(s.savedLineLonLat[i], s.savedLineLonLat[i + 1]);
        if (!p) return;  // tried again with the next fix
        line.push_back({p->x, p->y});
    }
    s.savedLineLonLat.clear();
    s.pointASet = 1;
    s.pointA = line.front();
    s.pointB = line.back();
    journalPointA(s.pointA);
    if (s.savedLinePattern == kPatternCurve) {
        // Already thinned when it was driven: the same tracks, point for point.
        if (!setCurvePath(s.curve, line, spacing())) return;
        s.curveActive = 1;
        journalCurvePath(s.curve.path);
    } else {
        s.curveActive = 0;
    }
    // The straight line through A and B also stands behind a curve, as after a resume.
    setAbLine(s.guidance, s.pointA, s.pointB, spacing());
    journalPointB(s.pointB, spacing());
    startGuidance();
}
