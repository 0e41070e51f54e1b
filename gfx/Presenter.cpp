#include "gfx/Presenter.h"

#include <algorithm>
#include <cstring>

#include "gfx/MemoryDriver.h"
#include "gfx/RotatingAdapter.h"

namespace gfx {

namespace {
bool orientationOffered(const ScreenDescription& screen, std::uint32_t orientation) {
    if (orientation == kOrientationAsIs) return true;
    return std::any_of(screen.modes.begin(), screen.modes.end(), [&](const DisplayMode& mode) {
        return std::uint32_t(mode.orientation) == orientation;
    });
}
}  // namespace

bool Presenter::Open(const DisplayParameters& requested) {
    if (driver_) return false;
    ScreenDescription screen = describeScreen();
    if (!orientationOffered(screen, requested.orientation)) return false;
    // Linux has one back-end, the frame in memory.
    auto driver = std::make_unique<MemoryDriver>();
    if (!driver->Open(window_, requested, screen)) return false;
    std::unique_ptr<DisplayDriver> chosen = std::move(driver);
    if (requested.orientation < kOrientationAsIs &&
        std::uint32_t(chosen->orientation) != requested.orientation) {
        auto adapter = std::make_unique<RotatingAdapter>(std::move(chosen));
        if (!adapter->Open(window_, requested, screen)) return false;
        chosen = std::move(adapter);
    }
    driver_ = std::move(chosen);
    width_ = driver_->width;
    height_ = driver_->height;
    orientation_ = driver_->orientation;
    if (driver_->swapCapability == 0 ||
        (requested.swapEffect == kSwapCopy && driver_->swapCapability != kSwapCopy)) {
        backBuffer_.reset(PixelBuffer::create(std::uint32_t(width_), std::uint32_t(height_)));
        if (!backBuffer_) {
            driver_.reset();
            return false;
        }
        swapEffect_ = kSwapCopy;
    } else {
        swapEffect_ = driver_->swapCapability;
    }
    frame_ = nullptr;
    SetUpdateRect(nullptr);
    return true;
}

PixelBuffer* Presenter::BeginFrame() {
    if (!active_ || !driver_) return nullptr;
    if (!frame_) frame_ = driver_->Lock();
    if (!frame_) return nullptr;
    return backBuffer_ ? backBuffer_.get() : frame_;
}

void Presenter::SetUpdateRect(const Rect* rect) {
    Rect screen{0, 0, width_, height_};
    Rect r = rect ? rect->intersected(screen) : screen;
    if (r.isEmpty()) r = {};
    if (driver_) driver_->SetUpdateRect(r);
    // Even coordinates keep pairs of pixels together for the copies; kept on the screen.
    r = Rect{r.left & ~1, r.top & ~1, (r.right + 1) & ~1, (r.bottom + 1) & ~1}.intersected(screen);
    if (r.isEmpty()) r = {};
    update_ = r;
    contiguous_ = driver_ && driver_->pitch == std::uint32_t(r.right - r.left) * 2;
}

bool Presenter::Present(std::uint32_t flags) {
    if (!active_ || !frame_) return false;
    if (backBuffer_ && !update_.isEmpty()) {
        if (flags & 1) driver_->WaitForVerticalBlank();
        std::size_t rowBytes = std::size_t(update_.width()) * sizeof(Pixel);
        if (contiguous_ && backBuffer_->pitch == frame_->pitch) {
            std::memcpy(frame_->row(update_.top), backBuffer_->row(update_.top),
                        rowBytes * std::size_t(update_.height()));
        } else {
            for (std::int32_t y = update_.top; y < update_.bottom; ++y)
                std::memcpy(frame_->row(y) + update_.left, backBuffer_->row(y) + update_.left,
                            rowBytes);
        }
    }
    driver_->Present(flags);
    frame_ = nullptr;
    return true;
}

}  // namespace gfx
