// One work: its plane, its strip records and pause marks, area and distance, the vehicle's
// accepted position, the points A and B and the guide lines set from them. A new work is a new
// WorkRecord; nothing of the work before it is kept.
#pragma once

#include <cstdint>
#include <vector>

#include "coverage/CoverageMap.h"
#include "coverage/StripLevels.h"
#include "guidance/CurveLines.h"
#include "guidance/GuidanceLines.h"
#include "guidance/PlanePoint.h"
#include "guidance/SharedValue.h"
#include "guidance/StripRecord.h"
#include "guidance/Vec2.h"
#include "guidance/WorkPlane.h"

struct WorkRecord {
    WorkPlane plane;
    StripRecord strips;
    // Record counts at which the driver paused: no strip joins the record before to the next.
    std::vector<std::uint32_t> pauseMarks;
    // The sum of the strip areas (dm^2): ground worked twice counts twice.
    double workedArea = 0.0;
    // The ground the strips cover, each square decimetre once: the overlap is the difference.
    double groundArea = 0.0;
    double distance = 0.0;  // dm
    // Every worked quad of the strips, found by place; and the strips simplified for far views.
    CoverageMap coverage;
    StripLevels stripLevels;
    // The strip records the coverage has seen, and the first pause mark it has not passed.
    std::uint32_t coveredRecords = 0;
    std::size_t nextPauseMark = 0;
    // The distance at which the strip last started again (the work's start, a pause or a
    // jump): the warning of worked ground ahead waits 10 m from there.
    double segmentStart = 0.0;
    // The implement's path ahead crosses worked ground: the screen says so.
    SharedValue<std::uint8_t> workedAhead{0};

    PlanePoint position;
    // The last projected fix, accepted or not.
    PlanePoint previousPosition;
    // The time of day (s, UTC) and speed (knots) of the accepted position: how far the vehicle
    // can have gone by the next fix.
    double positionTime = -1.0;
    double positionSpeed = 0.0;
    // A fix that lay beyond that reach, held until the next fix tells a lone stray fix from a
    // real move.
    std::uint8_t jumpHeld = 0;
    PlanePoint jumpPosition;
    double jumpTime = -1.0;
    double jumpSpeed = 0.0;
    // A jump was taken as a real move: the next record starts a new segment.
    std::uint8_t stripBroken = 0;
    // The work has an accepted position: until then there is no vehicle to take A or B from.
    std::uint8_t positionSet = 0;
    // Longitude and latitude of the last accepted position, for the heading's grid direction.
    double positionLonLat[2] = {};

    std::uint8_t pointASet = 0;
    Vec2 pointA;
    Vec2 pointB;
    GuidanceLines guidance;
    // The work is guided along curve rather than guidance.
    std::uint8_t curveActive = 0;
    // The path driven since A while a curve is being recorded.
    std::vector<Vec2> curveRecording;
    CurveGuidance curve;

    // No record could be added (the memory for the next block could not be had, or the count
    // has reached its width): recording has stopped and the work screen says so.
    SharedValue<std::uint8_t> workFull{0};
};
