// A field's boundary recorded by driving around it: at every strip record the antenna's position
// or one implement edge is kept. The boundary closes when the vehicle comes back near where it
// started, after it has been well away from there, or when the driver says so; the offset then
// moves every point outward (a hedge, a ditch the implement stayed off), or inward when negative.
#pragma once

#include <cstdint>
#include <vector>

#include "coverage/StripQuad.h"

enum class BoundarySource : std::uint8_t { Antenna = 0, LeftEdge = 1, RightEdge = 2 };

class BoundaryRecorder {
  public:
    // How near the start (dm) the vehicle must come back for the boundary to close, and how far
    // it must have driven, and been from the start, before it can.
    static constexpr double kCloseWithin = 50.0;
    static constexpr double kLeastTravel = 500.0;
    static constexpr double kLeastReach = 200.0;

    BoundaryRecorder(BoundarySource source, double offsetDm) : source_(source), offset_(offsetDm) {}

    // The edges of a new strip record (plane dm): true when this point closed the boundary.
    bool add(GroundPoint left, GroundPoint right);
    bool closed() const { return closed_; }
    std::size_t size() const { return points_.size(); }
    const std::vector<GroundPoint>& points() const { return points_; }
    // The ring as recorded, moved by the offset; empty with fewer than three points.
    std::vector<GroundPoint> ring() const;

  private:
    BoundarySource source_;
    double offset_;
    std::vector<GroundPoint> points_;
    // The unit vector to the implement's left at each point: the ring's outward side follows
    // from the way round it was driven.
    std::vector<GroundPoint> lefts_;
    double travelled_ = 0.0;
    double reach_ = 0.0;
    bool closed_ = false;
};
