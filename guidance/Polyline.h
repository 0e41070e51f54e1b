// A guide curve of the work plane as a polyline, with the nearest-point search the fix callback
// needs. The segments are grouped in runs with bounding boxes, so a search over a curve of
// thousands of vertices looks at a few runs only.
#pragma once

#include <cstddef>
#include <vector>

#include "guidance/Vec2.h"

// The point of a polyline nearest to a point.
struct PolylineFoot {
    Vec2 foot;
    // The segment the foot lies on and its unit direction.
    std::size_t segment = 0;
    Vec2 direction;
    double distance = 0.0;
    // Positive when the point lies right of the polyline, looking along its direction.
    double signedDistance = 0.0;
};

class Polyline {
  public:
    Polyline() = default;
    explicit Polyline(std::vector<Vec2> points);

    const std::vector<Vec2>& points() const { return points_; }
    bool empty() const { return points_.size() < 2; }
    // Nearest point; hint is a segment to look at first (the last fix's), to prune faster.
    PolylineFoot nearest(Vec2 p, std::size_t hint = 0) const;
    // The segments with a part inside the square of half-size reach around centre, appended as
    // pairs of points (start, end): what a view of that size shows of the line.
    void segmentsNear(Vec2 centre, double reach, std::vector<Vec2>& out) const;

  private:
    struct Run {
        double minX, minY, maxX, maxY;
    };
    static constexpr std::size_t kRun = 16;
    // Runs are grouped again, kRun runs to a group, so a long curve is pruned group by group.
    std::vector<Vec2> points_;
    std::vector<Run> runs_;
    std::vector<Run> groups_;
    void scanRun(std::size_t run, Vec2 p, double& best2, std::size_t& bestSegment,
                 double& bestT) const;
};
