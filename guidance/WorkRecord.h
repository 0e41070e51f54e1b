// One work: its plane, its strip records and pause marks, area and distance, the vehicle's
// accepted position, the points A and B and the guide lines set from them. A new work is a new
// WorkRecord; nothing of the work before it is kept.
#pragma once

#include <cstdint>
#include <vector>

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
    double workedArea = 0.0;  // dm^2
    double distance = 0.0;    // dm

    PlanePoint position;
    // The last projected fix, accepted or not.
    PlanePoint previousPosition;
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
