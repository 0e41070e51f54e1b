// The worked strips simplified for zoomed-out views. Level L keeps, of every segment, only the
// strip ends needed for its quads to stay within 2^(L-1) decimetres of the strip they stand for:
// a straight pass becomes a few long quads, a turn a handful. A view then draws the level whose
// tolerance is below its pixel, and the quads it draws number what the view can show, not the
// records of the work.
#pragma once

#include <cstdint>
#include <vector>

#include "coverage/StripQuad.h"

class StripLevels {
  public:
    static constexpr int kLevels = 14;
    // The largest deviation of level's quads from the strip, in decimetres (levels 1 to kLevels).
    static double tolerance(int level);

    // The next worked quad of the work; a quad that does not start where the one before ended
    // starts a new segment.
    void add(const StripQuad& quad);

    // Calls draw(quad) for every quad of level, newest first.
    template <class Draw>
    void forEachQuad(int level, Draw draw) const {
        const std::vector<End>& kept = levels_[level - 1].kept;
        if (kept.empty()) return;
        if (!same(kept.back(), last_)) draw(quadOf(kept.back(), last_));
        for (std::size_t i = kept.size() - 1; i > 0; --i) {
            if (kept[i].startsSegment) continue;
            draw(quadOf(kept[i - 1], kept[i]));
        }
    }

  private:
    struct End {
        GroundPoint left;
        GroundPoint right;
        std::uint8_t startsSegment = 0;
    };
    struct Level {
        std::vector<End> kept;
        double length = 0.0;  // driven since the last kept end
        double turn = 0.0;    // absolute heading change since the last kept end
    };
    static bool same(const End& a, const End& b) {
        return a.left.x == b.left.x && a.left.y == b.left.y && a.right.x == b.right.x &&
               a.right.y == b.right.y;
    }
    static StripQuad quadOf(const End& older, const End& newer) {
        return {older.left, older.right, newer.left, newer.right};
    }

    Level levels_[kLevels];
    End last_;
    bool hasLast_ = false;
    GroundPoint lastDirection_;
    bool hasDirection_ = false;
};
