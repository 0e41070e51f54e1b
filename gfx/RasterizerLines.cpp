// One-pixel lines with their clipping, and the five-pixel line built on FillConvex.
#include <cmath>
#include <cstdlib>

#include "gfx/Rasterizer.h"
#include "gfx/RasterizerInternal.h"

namespace gfx {

namespace {
enum : int { kLeft = 1, kRight = 2, kAbove = 4, kBelow = 8 };

int outcode(std::int64_t x, std::int64_t y, const Rect& clip) {
    int code = 0;
    if (x < clip.left) code |= kLeft;
    if (x >= clip.right) code |= kRight;
    if (y < clip.top) code |= kAbove;
    if (y >= clip.bottom) code |= kBelow;
    return code;
}
}  // namespace

// Cohen-Sutherland against the inclusive window left..right-1, top..bottom-1. The products are
// taken in 64 bits so that end points far outside the surface cannot overflow; within the
// 32-bit range the results are those of 32-bit arithmetic, truncated toward zero.
bool Rasterizer::ClipLine(std::int32_t& x1, std::int32_t& y1, std::int32_t& x2,
                          std::int32_t& y2) const {
    std::int64_t ax = x1, ay = y1, bx = x2, by = y2;
    int codeA = outcode(ax, ay, clip_), codeB = outcode(bx, by, clip_);
    while (codeA | codeB) {
        if (codeA & codeB) return false;
        bool first = codeA != 0;
        int code = first ? codeA : codeB;
        std::int64_t x, y;
        if (code & kLeft) {
            y = ay + (by - ay) * (clip_.left - ax) / (bx - ax);
            x = clip_.left;
        } else if (code & kRight) {
            y = ay + (by - ay) * (clip_.right - 1 - ax) / (bx - ax);
            x = clip_.right - 1;
        } else if (code & kAbove) {
            x = ax + (bx - ax) * (clip_.top - ay) / (by - ay);
            y = clip_.top;
        } else {
            x = ax + (bx - ax) * (clip_.bottom - 1 - ay) / (by - ay);
            y = clip_.bottom - 1;
        }
        if (first) {
            ax = x;
            ay = y;
            codeA = outcode(ax, ay, clip_);
        } else {
            bx = x;
            by = y;
            codeB = outcode(bx, by, clip_);
        }
    }
    x1 = std::int32_t(ax);
    y1 = std::int32_t(ay);
    x2 = std::int32_t(bx);
    y2 = std::int32_t(by);
    return true;
}

void Rasterizer::DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                          Pixel colour) {
    if (!target_) return;
    // Straight lines are spans that leave out their lower or right end point.
    if (x1 == x2) {
        std::int64_t length = std::llabs(std::int64_t(y2) - y1);
        std::int32_t top = std::min(y1, y2);
        DrawVLine(x1, top, std::int32_t(std::min<std::int64_t>(length, INT32_MAX)), colour);
        return;
    }
    if (y1 == y2) {
        std::int64_t length = std::llabs(std::int64_t(x2) - x1);
        std::int32_t left = std::min(x1, x2);
        DrawHLine(left, y1, std::int32_t(std::min<std::int64_t>(length, INT32_MAX)), colour);
        return;
    }
    if (clip_.isEmpty() || !ClipLine(x1, y1, x2, y2)) return;
    shader_->Line(*target_->buffer, x1, y1, x2, y2, colour);
}

void Rasterizer::DrawThickLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                               Pixel colour) {
    if (x1 == x2 && y1 == y2) return;
    double dx = double(x2) - x1, dy = double(y2) - y1;
    double k = 5.0 / (std::sqrt(dx * dx + dy * dy) * 2.0);
    auto roundAway = [](double v) { return std::int64_t(v > 0 ? v + 0.5 : v - 0.5); };
    std::int64_t ox = roundAway(-dy * k), oy = roundAway(dx * k);
    Point quad[4] = {
        {internal::clampCoordinate(x1 + ox), internal::clampCoordinate(y1 + oy)},
        {internal::clampCoordinate(x1 - ox), internal::clampCoordinate(y1 - oy)},
        {internal::clampCoordinate(x2 - ox), internal::clampCoordinate(y2 - oy)},
        {internal::clampCoordinate(x2 + ox), internal::clampCoordinate(y2 + oy)},
    };
    FillConvex(quad, 4, colour);
}

}  // namespace gfx
