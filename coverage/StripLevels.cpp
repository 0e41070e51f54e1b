#include "coverage/StripLevels.h"

#include <cmath>

namespace {

// A quad of a level is at most this many tolerances long, so that a long straight pass still
// breaks where a view's box can leave it out.
constexpr double kLongestStep = 256.0;

}  // namespace

double StripLevels::tolerance(int level) {
    return std::ldexp(1.0, level - 1);
}

void StripLevels::add(const StripQuad& q) {
    const End older{q.olderLeft, q.olderRight, 0};
    const End newer{q.newerLeft, q.newerRight, 0};
    if (!hasLast_ || !same(older, last_)) {
        for (Level& level : levels_) {
            // The segment before ends where it was last seen.
            if (hasLast_ && !same(level.kept.back(), last_)) level.kept.push_back(last_);
            End start = older;
            start.startsSegment = 1;
            level.kept.push_back(start);
            level.length = 0.0;
            level.turn = 0.0;
        }
        hasDirection_ = false;
    }
    const double dx = (newer.left.x + newer.right.x - older.left.x - older.right.x) * 0.5;
    const double dy = (newer.left.y + newer.right.y - older.left.y - older.right.y) * 0.5;
    const double step = std::sqrt(dx * dx + dy * dy);
    const GroundPoint direction = step > 0 ? GroundPoint{dx / step, dy / step} : lastDirection_;
    double turned = 0.0;
    if (hasDirection_ && step > 0)
        turned =
            std::fabs(std::atan2(lastDirection_.x * direction.y - lastDirection_.y * direction.x,
                                 lastDirection_.x * direction.x + lastDirection_.y * direction.y));
    const double wx = newer.left.x - newer.right.x, wy = newer.left.y - newer.right.y;
    const double width = std::sqrt(wx * wx + wy * wy);
    for (int l = 0; l < kLevels; ++l) {
        Level& level = levels_[l];
        const double length = level.length + step;
        const double turn = level.turn + turned;
        // How far a chord strays from an arc driven with this length and turn, at the strip's
        // outer edge: the centre line's sagitta plus the half width's, twice over for a path
        // that is not an arc (straight into a turn, a wandering line).
        const double stray = length * turn / 4.0 + width * turn * turn / 8.0;
        const double tol = double(std::uint64_t(1) << l);  // tolerance(l + 1)
        if ((stray > tol || length > kLongestStep * tol) && !same(level.kept.back(), older)) {
            level.kept.push_back(older);
            level.length = step;
            level.turn = 0.0;
        } else {
            level.length = length;
            level.turn = turn;
        }
    }
    last_ = newer;
    hasLast_ = true;
    if (step > 0) {
        lastDirection_ = direction;
        hasDirection_ = true;
    }
}
