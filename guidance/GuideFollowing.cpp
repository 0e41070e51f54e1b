#include "guidance/GuideFollowing.h"

#include "guidance/CurveLines.h"
#include "guidance/GuidanceLines.h"
#include "guidance/LineReach.h"
#include "guidance/SteeringArrows.h"

namespace {

// Along a curve: the followed line and its two neighbours as far as the view reaches.
void followCurve(WorkRecord& work, GuideResults& guide, Vec2 travel, std::uint16_t tolerance,
                 double reach) {
    const Vec2 here{work.position.x, work.position.y};
    const CurveFollow follow = followNearestCurve(work.curve, here, travel);
    guide.guideNumber = follow.number;
    guide.crossTrack = follow.crossTrack;
    guide.arrowCount = steeringArrows(guide.crossTrack, tolerance);
    guide.steerLeft = guide.crossTrack > 0.0 ? 1 : 0;
    const std::int32_t numbers[3] = {follow.number, follow.number - 1, follow.number + 1};
    for (int k = 0; k < 3; ++k) {
        guide.curveLinesWorld[k].clear();
        curveParallel(work.curve, numbers[k])
            .line.segmentsNear(here, reach, guide.curveLinesWorld[k]);
    }
}

}  // namespace

void guideOutOfReach(GuideResults& guide) {
    guide.lineTooFar = 1;
    guide.crossTrack = 0.0;
    guide.arrowCount = 0;
    guide.steerLeft = 0;
    for (auto& line : guide.curveLinesWorld) line.clear();
}

void followGuideLines(WorkRecord& work, GuideResults& guide, Vec2 travel,
                      std::uint16_t arrowTolerance, const GuideReach& reach) {
    const Vec2 position{work.position.x, work.position.y};
    const double away = work.curveActive ? distanceFromCurve(work.curve, position)
                                         : distanceFromLine(work.guidance, position);
    const double spacing = work.curveActive ? work.curve.spacing : work.guidance.spacing;
    // A distance that is not a number is out of reach as well.
    guide.lineTooFar = 0;
    if (!(away <= lineReach(spacing))) {
        guideOutOfReach(guide);
        return;
    }
    if (work.curveActive) {
        followCurve(work, guide, travel, arrowTolerance, reach.curveReach);
        return;
    }
    GuidanceLines& guidance = work.guidance;
    Vec2 here{work.position.x, work.position.y};
    Vec2 foot{};
    guide.guideNumber = followNearestLine(guidance, here, travel, guide.crossTrack, foot);
    guide.arrowCount = steeringArrows(guide.crossTrack, arrowTolerance);
    guide.steerLeft = guide.crossTrack > 0.0 ? 1 : 0;

    // Each segment reaches 1500 zoomed decimetres to both sides of the foot: off the screen at
    // every zoom. The followed line, then its left and its right neighbour.
    double length = static_cast<double>(reach.zoom * 1500.0f);
    Vec2 along = length * guidance.direction;
    Vec2 across = guidance.spacing * guidance.leftNormal;
    Vec2* world = guide.guideLinesWorld;
    world[0] = foot + along;
    world[1] = foot - along;
    world[2] = foot + along + across;
    world[3] = foot - along + across;
    world[4] = foot + along - across;
    world[5] = foot - along - across;
}
