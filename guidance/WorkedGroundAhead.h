// The warning before the implement drives over worked ground: its path over the look-ahead,
// at the present speed and heading, asked of the coverage.
#pragma once

#include "guidance/Vec2.h"
#include "guidance/WorkRecord.h"

struct AheadWatch {
    double lookAheadSeconds = 2.0;  // 0: no warning
    double share = 0.3;             // of the implement's width over worked ground
};

// Sets work.workedAhead from the newest strip record along the unit travel at speedKnots. It
// stays clear in the first 10 m of a strip (after the start, a pause or a jump), where the
// implement stands on the ground it has just left.
void watchWorkedGroundAhead(WorkRecord& work, Vec2 travel, double speedKnots,
                            const AheadWatch& watch);
