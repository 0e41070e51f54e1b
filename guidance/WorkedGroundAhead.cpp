#include "guidance/WorkedGroundAhead.h"

namespace {

constexpr double kQuietDistance = 100.0;            // dm
constexpr double kKnotDecimetres = 1852.0 / 360.0;  // dm/s in one knot
// Lanes across the implement: each is worked or not, and their share is the width's.
constexpr int kLanes = 32;
// The implement's own newest quads touch the path where it starts.
constexpr std::uint32_t kOwnQuads = 2;

}  // namespace

void watchWorkedGroundAhead(WorkRecord& work, Vec2 travel, double speedKnots,
                            const AheadWatch& watch) {
    const double length = speedKnots * kKnotDecimetres * watch.lookAheadSeconds;
    if (!(watch.lookAheadSeconds > 0) || work.strips.empty() ||
        work.distance - work.segmentStart < kQuietDistance || !(length > 0)) {
        work.workedAhead = 0;
        return;
    }
    const TrackEdge& bar = work.strips.back();
    const std::uint32_t quads = work.coverage.size();
    const double share = work.coverage.workedShareAhead(
        {bar.leftX, bar.leftY}, {bar.rightX, bar.rightY}, {travel.x * length, travel.y * length},
        kLanes, quads > kOwnQuads ? quads - kOwnQuads : 0);
    work.workedAhead = share > watch.share ? 1 : 0;
}
