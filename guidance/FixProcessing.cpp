// The fix callback: panel values, the three fix filters, the heading, the worked strip and, on
// the guidance screen, the followed guide line with its cross-track error and steering arrows.
#include "guidance/FixProcessing.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <optional>

#include "app/AbPoints.h"
#include "app/AppState.h"
#include "app/Palette.h"
#include "app/WorkScreen.h"
#include "guidance/GuidanceLines.h"
#include "guidance/HeadingSmoothing.h"
#include "guidance/Projection.h"
#include "guidance/SteeringArrows.h"
#include "guidance/WorkedStrip.h"
#include "journal/WorkJournal.h"
#include "nmeaout/GuidanceOutput.h"
#include "platform/Platform.h"

namespace {

// A receiver may report a fix quality with empty or impossible position fields; the record
// then carries the last position it had, which before the first one is (0, 0). Such a fix
// must neither end the wait for a fix nor become a work's origin.
bool hasPosition(const GPS_POSITION& fix) {
    if (!std::isfinite(fix.latitude) || !std::isfinite(fix.longitude)) return false;
    if (std::fabs(fix.latitude) > 90.0 || std::fabs(fix.longitude) > 180.0) return false;
    return fix.latitude != 0.0 || fix.longitude != 0.0;
}

// What the information panel shows of every fix, accepted or not.
void storePanelValues(const GPS_POSITION& fix) {
    appState.fix.hdop = fix.hdop;
    appState.fix.fixQuality = hasPosition(fix) ? static_cast<std::int32_t>(fix.fixQuality) : 0;
    // A fix without quality or satellites says nothing about the satellites in use.
    if (fix.fixQuality != 0 && fix.satelliteCount != 0)
        appState.fix.satellitesUsed = static_cast<std::uint8_t>(fix.satelliteCount);
    appState.fix.speedKnots = fix.speed;
    appState.ui.redrawPending = 1;
}

// A fix counts only when the vehicle moves fast enough, the fix is precise enough and the step
// from the last accepted position is long enough; every comparison is strict.
bool passesFilters(double d2) {
    if (!(static_cast<double>(appState.fix.speedKnots) > appState.settings.speedThreshold))
        return false;
    if (!(static_cast<double>(appState.fix.hdop) < appState.settings.hdopThreshold)) return false;
    return d2 > static_cast<double>(appState.settings.distanceThresholdSquared);
}

// Along a curve: the followed line and its two neighbours as far as the view reaches (the
// screen's diagonal at the current zoom, around the vehicle, which the view centres).
void updateCurveGuidance(Vec2 travel) {
    AppState& s = appState;
    const Vec2 here{s.work.position.x, s.work.position.y};
    const CurveFollow follow = followNearestCurve(s.work.curve, here, travel);
    s.guide.guideNumber = follow.number;
    s.guide.crossTrack = follow.crossTrack;
    s.guide.arrowCount = steeringArrows(s.guide.crossTrack, s.settings.arrowTolerance);
    s.guide.steerLeft = s.guide.crossTrack > 0.0 ? 1 : 0;
    const double reach = (double(s.layout.screenWidth) + double(s.layout.screenHeight)) /
                             std::max(double(s.settings.zoom), 1e-3) +
                         50.0;
    const std::int32_t numbers[3] = {follow.number, follow.number - 1, follow.number + 1};
    for (int k = 0; k < 3; ++k) {
        s.guide.curveLinesWorld[k].clear();
        curveParallel(s.work.curve, numbers[k])
            .line.segmentsNear(here, reach, s.guide.curveLinesWorld[k]);
    }
}

// The followed guide line, the cross-track error to it, the arrows and the steering side, and
// the three guide-line segments around the foot point that the guidance screen draws.
void updateGuidance(Vec2 travel) {
    if (appState.work.curveActive) {
        updateCurveGuidance(travel);
        return;
    }
    GuidanceLines& guidance = appState.work.guidance;
    Vec2 here{appState.work.position.x, appState.work.position.y};
    Vec2 foot{};
    appState.guide.guideNumber =
        followNearestLine(guidance, here, travel, appState.guide.crossTrack, foot);
    appState.guide.arrowCount =
        steeringArrows(appState.guide.crossTrack, appState.settings.arrowTolerance);
    appState.guide.steerLeft = appState.guide.crossTrack > 0.0 ? 1 : 0;

    // Each segment reaches 1500 zoomed decimetres to both sides of the foot: off the screen at
    // every zoom. The followed line, then its left and its right neighbour.
    double reach = static_cast<double>(appState.settings.zoom * 1500.0f);
    Vec2 along = reach * guidance.direction;
    Vec2 across = guidance.spacing * guidance.leftNormal;
    Vec2* world = appState.guide.guideLinesWorld;
    world[0] = foot + along;
    world[1] = foot - along;
    world[2] = foot + along + across;
    world[3] = foot - along + across;
    world[4] = foot + along - across;
    world[5] = foot - along - across;
}

// Everything after the panel values, while a work screen is up.
void processWorkFix(const GPS_POSITION& fix, std::uint8_t state) {
    const bool hadOrigin = appState.work.plane.originSet;
    std::optional<PlanePoint> projected = projectFix(fix.longitude, fix.latitude);
    // The work's first fix names its origin: from here on the work has a journal.
    if (!hadOrigin && appState.work.plane.originSet) journalBeginWork(state);
    if (!projected) return;
    appState.work.previousPosition = *projected;
    double dx = projected->x - appState.work.position.x;
    double dy = projected->y - appState.work.position.y;
    double d2 = dx * dx + dy * dy;
    if (!passesFilters(d2)) return;

    Vec2 unit = Vec2{dx, dy} / std::sqrt(d2);
    // The first accepted fix of a work only seeds the position: there is no step yet.
    if (!appState.work.positionSet) {
        appState.work.position = *projected;
        appState.work.positionLonLat[0] = fix.longitude;
        appState.work.positionLonLat[1] = fix.latitude;
        appState.work.positionSet = 1;
        return;
    }
    appState.work.position = *projected;
    appState.work.positionLonLat[0] = fix.longitude;
    appState.work.positionLonLat[1] = fix.latitude;

    // Half the implement width along the step's left normal, centimetres to decimetres; the
    // edges keep their fractions, so the strip is exactly as wide as the implement.
    double halfWidth = appState.settings.implementHalfWidth * 0.1;
    double offX = halfWidth * unit.y;
    double offY = halfWidth * unit.x;

    smoothHeading(unit.x, unit.y, appState.work.strips.size());

    if (state < kStateStart && !appState.ui.paused)
        appendStrip(appState.work.position, offX, offY, d2);
    if (state == kStateGuidance) {
        updateGuidance(unit);
        publishGuidance(appState.guide.crossTrack);
    }
    // A line of a saved work waits for the work's first step.
    if (state == kStateSettingAB && !appState.ui.savedLineLonLat.empty()) adoptSavedLine();
    // A curve being recorded takes every accepted position from A on.
    if (state == kStateSettingAB && appState.work.pointASet &&
        appState.settings.guidancePattern == kPatternCurve)
        appState.work.curveRecording.push_back(
            {appState.work.position.x, appState.work.position.y});
    if (state < kStateStart) recomputeView();
}

}  // namespace

void onFix(GPS_POSITION fix) {
    {
        std::lock_guard lock(appState.frameLock);
        storePanelValues(fix);
        notePaletteFix(fix);
        // One reading of the screen state for the whole fix: a touch that changes it meanwhile
        // takes effect with the next fix.
        std::uint8_t state = appState.ui.screenState;
        if (state < kStateStart && hasPosition(fix)) processWorkFix(fix, state);
    }
    platform::current().requestPaint();
}
