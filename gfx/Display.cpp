#include "gfx/Display.h"

#include "gfx/DisplayDriver.h"
#include "gfx/Presenter.h"

namespace gfx {

Display::Display() = default;

Display::~Display() {
    // The back buffer belongs to the presenter or its back-end, not to the embedded surface.
    BindTarget(nullptr);
    backBuffer_.buffer = nullptr;
}

Display* Display::Create(void* window, DisplayParameters& params) {
    displayLog("Sulcovane display 3.2");
    displayLog("Display::Create( hwnd = %08X, W:%d, H:%d, O:%d, S:%d )",
               unsigned(reinterpret_cast<std::uintptr_t>(window)), int(params.width),
               int(params.height), int(params.orientation), int(params.swapEffect));
    DisplayParameters requested = params;
    if (requested.swapEffect == 0) {
        requested.swapEffect = kSwapDiscard;
        displayLog("Swap effect forced to SWAP_DISCARD");
    }
    Display* display = new (std::nothrow) Display;
    if (!display) return nullptr;
    display->presenter_.reset(new (std::nothrow) Presenter(window));
    if (!display->presenter_) {
        delete display;
        return nullptr;
    }
    displayLog("Initializing display...");
    if (!display->presenter_->Open(requested)) {
        displayLog("Failed, destroying internal structures");
        displayLog("Destroying display");
        delete display;
        return nullptr;
    }
    const Presenter& p = *display->presenter_;
    params.width = std::uint32_t(p.width());
    params.height = std::uint32_t(p.height());
    params.orientation = std::uint32_t(p.orientation());
    params.swapEffect = p.swapEffect();
    display->parameters_ = params;
    displayLog("Success, returning display params to caller (W:%d, H:%d, O:%d, S:%d)",
               int(params.width), int(params.height), int(params.orientation),
               int(params.swapEffect));
    return display;
}

void Display::Destroy(Display* display) {
    delete display;
}

Surface* Display::GetBackBuffer() {
    PixelBuffer* buffer = presenter_ ? presenter_->BeginFrame() : nullptr;
    if (!buffer) return nullptr;
    backBuffer_.buffer = buffer;
    backBuffer_.colourKey = -1;
    BindTarget(&backBuffer_);
    return &backBuffer_;
}

bool Display::Update(const Rect* region) {
    if (!presenter_) return false;
    if (region) presenter_->SetUpdateRect(region);
    bool presented = presenter_->Present(0);
    // Until the next GetBackBuffer there is nothing to draw on.
    BindTarget(nullptr);
    backBuffer_.buffer = nullptr;
    return presented;
}

Surface* Display::CreateSurface(std::int32_t width, std::int32_t height) {
    return gfx::CreateSurface(width, height);
}

}  // namespace gfx
