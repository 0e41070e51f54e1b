// Wraps a back-end whose orientation differs from the one asked for: the application draws
// into the adapter's own buffer, which each Present copies turned, in 16 x 16 tiles, into the
// wrapped back-end's frame.
#pragma once

#include <memory>

#include "gfx/DisplayDriver.h"

namespace gfx {

class RotatingAdapter final : public DisplayDriver {
  public:
    explicit RotatingAdapter(std::unique_ptr<DisplayDriver> wrapped)
        : wrapped_(std::move(wrapped)) {}

    bool Open(void* window, const DisplayParameters& requested,
              const ScreenDescription& screen) override;
    PixelBuffer* Lock() override;
    void Present(std::uint32_t flags) override;
    void SetUpdateRect(const Rect& rect) override;
    void WaitForVerticalBlank() override { wrapped_->WaitForVerticalBlank(); }

    // Quarter turns from the adapter's buffer to the wrapped frame.
    std::int32_t turn() const { return turn_; }

  private:
    void CopyTile(const PixelBuffer& frame, std::int32_t left, std::int32_t top);

    std::unique_ptr<DisplayDriver> wrapped_;
    std::unique_ptr<PixelBuffer> buffer_;
    std::int32_t turn_ = 0;
    // In the adapter's coordinates, widened to whole tiles.
    Rect tiles_;
};

}  // namespace gfx
