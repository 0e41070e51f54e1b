// The fix callback ties the guidance library to the screens: the screen state decides what a
// fix does, the journal records what it added, the guidance output sends the error, and the view
// follows the vehicle.
#include "app/FixPipeline.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <optional>

#include "app/AbPoints.h"
#include "app/AppState.h"
#include "app/FieldWatch.h"
#include "app/FieldWork.h"
#include "app/Palette.h"
#include "app/SectionControl.h"
#include "app/ViewTransform.h"
#include "app/WorkScreen.h"
#include "guidance/FixFilter.h"
#include "guidance/FixJump.h"
#include "guidance/GuideFollowing.h"
#include "guidance/HeadingSmoothing.h"
#include "guidance/PlaneReach.h"
#include "guidance/Projection.h"
#include "guidance/WorkedGroundAhead.h"
#include "guidance/WorkedStrip.h"
#include "journal/WorkJournal.h"
#include "nmeaout/GuidanceOutput.h"
#include "platform/Platform.h"

namespace {

constexpr double kKnotDecimetres = 1852.0 / 360.0;  // dm/s in one knot

// What the information panel shows of every fix, accepted or not.
void storePanelValues(const GPS_POSITION& fix) {
    FixReadings& readings = appState.fix;
    readings.hdop = fix.hdop;
    readings.fixQuality = hasPosition(fix) ? static_cast<std::int32_t>(fix.fixQuality) : 0;
    // A fix without quality or satellites says nothing about the satellites in use.
    if (fix.fixQuality != 0 && fix.satelliteCount != 0)
        readings.satellitesUsed = static_cast<std::uint8_t>(fix.satelliteCount);
    readings.speedKnots = fix.speed;
    if (hasPosition(fix)) {
        readings.lonLat[0] = fix.longitude;
        readings.lonLat[1] = fix.latitude;
        readings.lonLatKnown = 1;
    }
    appState.ui.redrawPending = 1;
}

FixFilter filterOfSettings(const StoredSettings& settings) {
    return {settings.speedThreshold, settings.hdopThreshold,
            static_cast<double>(settings.distanceThresholdSquared)};
}

GuideReach reachOfScreen() {
    const AppState& s = appState;
    const double zoom = std::max(double(s.settings.zoom), 1e-3);
    return {s.settings.zoom,
            (double(s.layout.screenWidth) + double(s.layout.screenHeight)) / zoom + 50.0};
}

void acceptPosition(WorkRecord& work, PlanePoint position, const GPS_POSITION& fix, double seconds,
                    double knots) {
    work.position = position;
    work.positionLonLat[0] = fix.longitude;
    work.positionLonLat[1] = fix.latitude;
    work.positionTime = seconds;
    work.positionSpeed = knots;
}

enum class JumpJudgement { Driven, Held, Moved };

// A fix beyond the vehicle's reach from the accepted position is held, not used. The next fix
// decides: back within reach of the accepted position, the held one was a lone stray fix and
// the strip goes on as if it had never come; within reach of the held one, the receiver has
// really moved.
JumpJudgement judgeJump(WorkRecord& work, PlanePoint position, double seconds, double knots,
                        double d2) {
    const bool far =
        beyondReach(std::sqrt(d2), work.positionTime, seconds, work.positionSpeed, knots);
    if (!far) {
        work.jumpHeld = 0;
        return JumpJudgement::Driven;
    }
    if (work.jumpHeld) {
        const double hx = position.x - work.jumpPosition.x, hy = position.y - work.jumpPosition.y;
        if (!beyondReach(std::sqrt(hx * hx + hy * hy), work.jumpTime, seconds, work.jumpSpeed,
                         knots)) {
            work.jumpHeld = 0;
            return JumpJudgement::Moved;
        }
    }
    work.jumpHeld = 1;
    work.jumpPosition = position;
    work.jumpTime = seconds;
    work.jumpSpeed = knots;
    return JumpJudgement::Held;
}

}  // namespace

// A jump parts the strip as a pause does, and so does a section that switches.
void startNewSegment(WorkRecord& work) {
    const std::uint32_t count = work.strips.size();
    if (count == 0 || (!work.pauseMarks.empty() && work.pauseMarks.back() == count)) return;
    work.pauseMarks.push_back(count);
    journalPause(count);
    journalUnpause();
}

namespace {

// Everything after the panel values, while a work screen is up.
void processWorkFix(const GPS_POSITION& fix, FixUse use) {
    AppState& s = appState;
    WorkRecord& work = s.work;
    const bool hadOrigin = work.plane.originSet;
    std::optional<PlanePoint> projected =
        projectFix(s.projection, work.plane, fix.longitude, fix.latitude);
    // The work's first fix names its origin: from here on the work has a journal.
    if (!hadOrigin && work.plane.originSet) {
        journalBeginWork(use == FixUse::FreeWork ? JournalWorkKind::Free : JournalWorkKind::AbLine,
                         work, s.settings.implementWidth, s.settings.implementHalfWidth,
                         {s.settings.zoom, s.view.northUp});
        // The section bar as the driver set it before the first fix.
        journalSectionChoice();
    }
    if (!projected) return;
    // Outside the plane a fix is no position of this work: nothing of it is recorded (a resume
    // would refuse it), and no line of the work is within reach of it.
    if (!insidePlane(projected->x, projected->y)) {
        if (use == FixUse::Guidance) guideOutOfReach(s.guide);
        return;
    }
    work.previousPosition = *projected;
    double dx = projected->x - work.position.x;
    double dy = projected->y - work.position.y;
    double d2 = dx * dx + dy * dy;
    if (!passesFilters(filterOfSettings(s.settings), s.fix.speedKnots, s.fix.hdop, d2)) return;

    const double seconds = fixSeconds(fix.utcTime);
    const double knots = s.fix.speedKnots;
    bool restarted = false;
    if (work.positionSet) {
        const JumpJudgement judged = judgeJump(work, *projected, seconds, knots, d2);
        if (judged == JumpJudgement::Held) return;
        if (judged == JumpJudgement::Moved) {
            // The receiver really is elsewhere: this fix seeds the position, and the strip
            // starts again from the next one.
            acceptPosition(work, *projected, fix, seconds, knots);
            work.stripBroken = 1;
            recomputeView();
            return;
        }
    }

    Vec2 unit = Vec2{dx, dy} / std::sqrt(d2);
    const PlanePoint from = work.position;
    acceptPosition(work, *projected, fix, seconds, knots);
    // The first accepted fix of a work only seeds the position: there is no step yet.
    if (!work.positionSet) {
        work.positionSet = 1;
        return;
    }
    if (work.stripBroken) {
        work.stripBroken = 0;
        startNewSegment(work);
        restarted = true;
    }

    // Half the implement width along the step's left normal, centimetres to decimetres; the
    // edges keep their fractions, so the strip is exactly as wide as the implement.
    double halfWidth = s.settings.implementHalfWidth * 0.1;
    double offX = halfWidth * unit.y;
    double offY = halfWidth * unit.x;

    smoothHeading(s.heading, unit.x, unit.y, work.strips.size());

    // The step from the fix that seeded a new segment belongs to no strip.
    const double groundBefore = work.groundArea;
    const std::uint32_t quadsBefore = work.coverage.size();
    bool appended = false;
    if (sectionControl.active) {
        sectionControl.paused = s.ui.paused != 0;
        const FieldInPlane* field = workField.inPlane ? &workField.shape : nullptr;
        const double speed = knots * kKnotDecimetres;
        if (s.ui.paused || restarted)
            decideSectionsHere(work, unit, speed, 1.5 * std::sqrt(d2) + 1.0, field);
        else
            appended = recordSectionStep(work, from, unit, speed, field);
    } else if (!s.ui.paused && appendStrip(work, work.position, offX, offY, restarted ? 0.0 : d2)) {
        journalStripAdded(work);
        appended = true;
    }
    if (workField.fieldId != 0 || workField.recorder)
        watchField(
            work, workField,
            {unit, halfWidth, knots * kKnotDecimetres,
             s.ui.paused ? 0.0 : s.settings.lookAheadSeconds, groundBefore, appended, quadsBefore});
    if (!s.ui.paused)
        watchWorkedGroundAhead(work, unit, knots,
                               {s.settings.lookAheadSeconds, s.settings.warnSharePercent / 100.0});
    else
        work.workedAhead = 0;
    if (use == FixUse::Guidance) {
        followGuideLines(work, s.guide, unit, s.settings.arrowTolerance, reachOfScreen());
        // Out of the line's reach there is no error to steer by.
        if (!s.guide.lineTooFar) publishGuidance(s.guide.crossTrack);
    }
    if (use == FixUse::SettingAB) {
        // A line of a saved work waits for the work's first step.
        if (!s.ui.savedLineLonLat.empty()) adoptSavedLine();
        // A curve being recorded takes every accepted position from A on.
        if (work.pointASet && s.settings.guidancePattern == kPatternCurve)
            work.curveRecording.push_back({work.position.x, work.position.y});
    }
    recomputeView();
}

}  // namespace

FixUse fixUseFor(std::uint8_t screenState) {
    switch (screenState) {
        case kStateFreeWork:
            return FixUse::FreeWork;
        case kStateGuidance:
            return FixUse::Guidance;
        case kStateSettingAB:
            return FixUse::SettingAB;
        default:
            return FixUse::PanelOnly;
    }
}

void processFix(const GPS_POSITION& fix, FixUse use) {
    storePanelValues(fix);
    notePaletteFix(fix);
    if (use != FixUse::PanelOnly && hasPosition(fix)) processWorkFix(fix, use);
}

void onFix(GPS_POSITION fix) {
    {
        std::lock_guard lock(appState.frameLock);
        // One reading of the screen state for the whole fix: a touch that changes it meanwhile
        // takes effect with the next fix.
        processFix(fix, fixUseFor(appState.ui.screenState));
    }
    platform::current().requestPaint();
}
