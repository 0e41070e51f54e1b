// The back-end of Linux: an RGB565 frame in memory of the window's size, handed to the present
// hook at each Present. The application draws straight into it.
#pragma once

#include <memory>

#include "gfx/DisplayDriver.h"

namespace gfx {

class MemoryDriver final : public DisplayDriver {
  public:
    bool Open(void* window, const DisplayParameters& requested,
              const ScreenDescription& screen) override;
    PixelBuffer* Lock() override { return frame_.get(); }
    void Present(std::uint32_t flags) override;
    void SetUpdateRect(const Rect& rect) override { update_ = rect; }

  private:
    std::unique_ptr<PixelBuffer> frame_;
    Rect update_;
};

// The hook in force, or null.
PresentHook presentHook();

}  // namespace gfx
