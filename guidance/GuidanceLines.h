// The AB line and the parallel guide lines one implement width apart, created as the vehicle
// reaches them and kept as a cache until the next AB line is set.
#pragma once

#include <cstdint>
#include <vector>

#include "guidance/Vec2.h"

struct GuideLine {
    Vec2 start;
    Vec2 end;
    std::int32_t number = 0;
};

struct GuidanceLines {
    Vec2 anchorA;
    Vec2 anchorB;
    std::int32_t currentLine = 0;
    Vec2 direction;
    Vec2 leftNormal;
    Vec2 crossAxis;
    double spacing = 0.0;
    std::vector<GuideLine> lines;
    // Where line n is in lines (-1: not created), at 2n for n >= 0 and at -2n - 1 below: a
    // work of hundreds of passes finds its line without a search.
    std::vector<std::int32_t> lineSlots;
};

// Sets the AB line: line 0 from A to B, lines one spacing (dm) apart, the cache emptied.
void setAbLine(GuidanceLines& lines, Vec2 a, Vec2 b, double spacing);
void createGuideLine(GuidanceLines& lines, int number);
int findGuideLine(const GuidanceLines& lines, int number);
double distanceToGuideLine(GuidanceLines& lines, Vec2 point, int number);
int followNearestLine(GuidanceLines& lines, Vec2 point, Vec2 travel, double& crossTrack,
                      Vec2& foot);
double signedCrossTrack(const GuidanceLines& lines, Vec2 point, const GuideLine& line, Vec2& foot,
                        Vec2 travel);
