#include "gfx/RotatingAdapter.h"

#include <algorithm>

namespace gfx {

namespace {
constexpr std::int32_t kTile = 16;
std::int32_t tileDown(std::int32_t v) {
    return v & ~(kTile - 1);
}
std::int32_t tileUp(std::int32_t v) {
    return (v + kTile - 1) & ~(kTile - 1);
}
}  // namespace

bool RotatingAdapter::Open(void* window, const DisplayParameters& requested,
                           const ScreenDescription& screen) {
    if (!wrapped_) return false;
    turn_ = std::int32_t((std::uint32_t(wrapped_->orientation) - requested.orientation) & 3);
    std::int32_t w = wrapped_->width, h = wrapped_->height;
    if (turn_ & 1) std::swap(w, h);
    buffer_.reset(PixelBuffer::create(std::uint32_t(w), std::uint32_t(h)));
    if (!buffer_) return false;
    (void)window;
    (void)screen;
    width = w;
    height = h;
    bitsPerPixel = 16;
    pitch = buffer_->pitch;
    orientation = std::int32_t(requested.orientation);
    swapCapability = kSwapCopy;
    SetUpdateRect({0, 0, w, h});
    return true;
}

PixelBuffer* RotatingAdapter::Lock() {
    return wrapped_->Lock() ? buffer_.get() : nullptr;
}

void RotatingAdapter::SetUpdateRect(const Rect& rect) {
    const std::int32_t wf = wrapped_->width, hf = wrapped_->height;
    Rect turned = rect;
    switch (turn_) {
        case 1:
            turned = {wf - rect.bottom, rect.left, wf - rect.top, rect.right};
            break;
        case 2:
            turned = {wf - rect.right, hf - rect.bottom, wf - rect.left, hf - rect.top};
            break;
        case 3:
            turned = {rect.top, hf - rect.right, rect.bottom, hf - rect.left};
            break;
        default:
            break;
    }
    wrapped_->SetUpdateRect(turned);
    tiles_ = rect.isEmpty() ? Rect{}
                            : Rect{tileDown(rect.left), tileDown(rect.top), tileUp(rect.right),
                                   tileUp(rect.bottom)};
}

// One tile of the adapter's buffer into the frame; tiles at the edge of a screen that is not
// a whole number of tiles are cut to it.
void RotatingAdapter::CopyTile(const PixelBuffer& frame, std::int32_t left, std::int32_t top) {
    const std::int32_t W = width, H = height;
    const std::int32_t right = std::min(left + kTile, W), bottom = std::min(top + kTile, H);
    for (std::int32_t sy = top; sy < bottom; ++sy) {
        const Pixel* in = buffer_->row(sy);
        for (std::int32_t sx = left; sx < right; ++sx) {
            std::int32_t fx = sx, fy = sy;
            switch (turn_) {
                case 1:
                    fx = H - 1 - sy, fy = sx;
                    break;
                case 2:
                    fx = W - 1 - sx, fy = H - 1 - sy;
                    break;
                case 3:
                    fx = sy, fy = W - 1 - sx;
                    break;
                default:
                    break;
            }
            if (fx >= 0 && fy >= 0 && std::uint32_t(fx) < frame.width &&
                std::uint32_t(fy) < frame.height)
                frame.row(fy)[fx] = in[sx];
        }
    }
}

void RotatingAdapter::Present(std::uint32_t flags) {
    PixelBuffer* frame = wrapped_->Lock();
    if (frame && !tiles_.isEmpty()) {
        Rect area = tiles_.intersected({0, 0, width, height});
        // Waiting for the vertical blank, the tiles go row by row, else column by column.
        if (flags & 1) {
            for (std::int32_t y = area.top; y < area.bottom; y += kTile)
                for (std::int32_t x = area.left; x < area.right; x += kTile) CopyTile(*frame, x, y);
        } else {
            for (std::int32_t x = area.left; x < area.right; x += kTile)
                for (std::int32_t y = area.top; y < area.bottom; y += kTile) CopyTile(*frame, x, y);
        }
    }
    wrapped_->Present(flags);
}

}  // namespace gfx
