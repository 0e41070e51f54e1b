// What each accepted fix of a work does with its field: a boundary being driven takes the new
// strip record, the ground newly worked in the field is counted, and the warnings of the
// boundary ahead and of the headland are set. Runs in the fix callback, under the frame lock.
#pragma once

#include <cstdint>

#include "app/FieldWork.h"
#include "guidance/Vec2.h"
#include "guidance/WorkRecord.h"

struct FieldStep {
    Vec2 unit;               // the direction of the step, a unit vector
    double halfWidth = 0.0;  // dm
    double speedDmPerS = 0.0;
    double lookAheadSeconds = 0.0;
    double groundBefore = 0.0;  // the work's ground before the step's strip record (dm^2)
    bool appended = false;      // the step added a strip record
    // The coverage's quads before the step: with sections a step may add several.
    std::uint32_t quadsBefore = 0;
};

void watchField(const WorkRecord& work, FieldWork& field, const FieldStep& step);
