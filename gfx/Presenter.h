// The display's own machinery: chooses and opens the back-end, keeps the frame of the current
// frame, the private back buffer when one is needed and the update rectangle.
#pragma once

#include <memory>

#include "gfx/DisplayDriver.h"

namespace gfx {

class Presenter {
  public:
    explicit Presenter(void* window) : window_(window) {}

    bool Open(const DisplayParameters& requested);
    // The buffer to draw the frame into, locking a frame first; null when none can be had.
    PixelBuffer* BeginFrame();
    // Null: the whole screen. Clamped to the screen, (0, 0, 0, 0) when empty, then widened to
    // even coordinates.
    void SetUpdateRect(const Rect* rect);
    bool Present(std::uint32_t flags);

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    std::int32_t orientation() const { return orientation_; }
    std::uint32_t swapEffect() const { return swapEffect_; }
    const Rect& updateRect() const { return update_; }
    bool updateContiguous() const { return contiguous_; }
    bool hasPrivateBackBuffer() const { return backBuffer_ != nullptr; }
    DisplayDriver* driver() const { return driver_.get(); }

  private:
    void* window_;
    std::int32_t width_ = 0, height_ = 0, orientation_ = 0;
    std::uint32_t swapEffect_ = 1;
    std::unique_ptr<DisplayDriver> driver_;
    std::unique_ptr<PixelBuffer> backBuffer_;
    PixelBuffer* frame_ = nullptr;
    Rect update_;
    bool contiguous_ = false;
    bool active_ = true;
};

}  // namespace gfx
