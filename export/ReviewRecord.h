// A saved work being reviewed: the positions and headings the review replays, one per record.
#pragma once

#include <vector>

#include "guidance/PlanePoint.h"
#include "guidance/TrackEdge.h"
#include "guidance/Vec2.h"

struct ReviewRecord {
    // The saved work's strip records; each step of the review moves one into the work.
    std::vector<TrackEdge> edges;
    std::vector<PlanePoint> positions;
    std::vector<Vec2> headings;
};
