#include "app/DashedLine.h"

#include <cstdlib>

#include "gfx/Rasterizer.h"

DashedLine::DashedLine(std::initializer_list<std::int32_t> runs) {
    for (std::int32_t run : runs) runs_.push_back(run > 0 ? run : 1);
    if (runs_.empty()) runs_.push_back(1);
}

void DashedLine::draw(gfx::Rasterizer& target, ScreenPoint from, ScreenPoint to,
                      gfx::Pixel colour) {
    target_ = &target;
    colour_ = colour;
    current_ = from;
    dashStart_ = from;
    run_ = 0;
    stepsLeft_ = runs_[0];

    // Bresenham: one pixel along the major axis per step, the minor axis following the error.
    const std::int64_t dx = std::llabs(std::int64_t(to.x) - from.x);
    const std::int64_t dy = std::llabs(std::int64_t(to.y) - from.y);
    const std::int32_t sx = to.x < from.x ? -1 : 1;
    const std::int32_t sy = to.y < from.y ? -1 : 1;
    const bool xMajor = dx >= dy;
    const std::int64_t major = xMajor ? dx : dy;
    const std::int64_t minor = xMajor ? dy : dx;
    std::int64_t error = 2 * minor - major;
    for (std::int64_t i = 0; i < major; ++i) {
        if (error > 0) {
            if (xMajor) {
                current_.y += sy;
            } else {
                current_.x += sx;
            }
            error -= 2 * major;
        }
        error += 2 * minor;
        if (xMajor) {
            current_.x += sx;
        } else {
            current_.y += sy;
        }
        step();
    }
    // The walk may end inside a drawn run; that dash reaches the end point.
    if (run_ % 2 == 0) drawDash();
    target_ = nullptr;
}

void DashedLine::step() {
    if (--stepsLeft_ > 0) return;
    run_ = (run_ + 1) % runs_.size();
    stepsLeft_ = runs_[run_];
    if (run_ % 2 == 1) {
        drawDash();
    } else {
        dashStart_ = current_;
    }
}

void DashedLine::drawDash() {
    target_->DrawThickLine(dashStart_.x, dashStart_.y, current_.x, current_.y, colour_);
}
