#include "farm/BoundaryRecorder.h"

#include <algorithm>
#include <cmath>

namespace {

// Points nearer than this to the last one kept add nothing to the boundary but its size.
constexpr double kLeastStep = 2.0;

}  // namespace

bool BoundaryRecorder::add(GroundPoint left, GroundPoint right) {
    if (closed_) return false;
    const double dx = left.x - right.x, dy = left.y - right.y;
    const double width = std::hypot(dx, dy);
    const GroundPoint unitLeft = width > 0 ? GroundPoint{dx / width, dy / width} : GroundPoint{};
    GroundPoint p = source_ == BoundarySource::LeftEdge ? left
                    : source_ == BoundarySource::RightEdge
                        ? right
                        : GroundPoint{(left.x + right.x) / 2, (left.y + right.y) / 2};
    if (!points_.empty()) {
        const GroundPoint& last = points_.back();
        const double step = std::hypot(p.x - last.x, p.y - last.y);
        if (step < kLeastStep) return false;
        travelled_ += step;
        const double fromStart = std::hypot(p.x - points_[0].x, p.y - points_[0].y);
        reach_ = std::max(reach_, fromStart);
        if (travelled_ >= kLeastTravel && reach_ >= kLeastReach && fromStart <= kCloseWithin) {
            closed_ = true;
            return true;
        }
    }
    points_.push_back(p);
    lefts_.push_back(unitLeft);
    return false;
}

std::vector<GroundPoint> BoundaryRecorder::ring() const {
    if (points_.size() < 3) return {};
    double twice = 0.0;
    for (std::size_t i = 0, j = points_.size() - 1; i < points_.size(); j = i++)
        twice += points_[j].x * points_[i].y - points_[i].x * points_[j].y;
    // Driven anticlockwise, the field lies to the left: outward is to the right.
    const double outward = twice > 0 ? -offset_ : offset_;
    std::vector<GroundPoint> ring;
    ring.reserve(points_.size());
    for (std::size_t i = 0; i < points_.size(); ++i)
        ring.push_back(
            {points_[i].x + outward * lefts_[i].x, points_[i].y + outward * lefts_[i].y});
    return ring;
}
