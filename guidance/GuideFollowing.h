// The followed guide line of a work at its newest position: the cross-track error to it, the
// steering arrows and side, and the pieces of it and its neighbours that the guidance screen
// draws.
#pragma once

#include <cstdint>

#include "guidance/GuideResults.h"
#include "guidance/Vec2.h"
#include "guidance/WorkRecord.h"

struct GuideReach {
    // The screen's zoom: straight lines reach 1500 zoomed decimetres to both sides of the foot.
    float zoom = 3.0f;
    // How far (dm) around the vehicle curves are cut out: the screen's diagonal at the zoom.
    double curveReach = 0.0;
};

// No line is in reach: no line followed, no error, no arrows, no curves to draw.
void guideOutOfReach(GuideResults& guide);
// travel is the unit step that reached the position; arrowTolerance is dm of error per arrow.
void followGuideLines(WorkRecord& work, GuideResults& guide, Vec2 travel,
                      std::uint16_t arrowTolerance, const GuideReach& reach);
