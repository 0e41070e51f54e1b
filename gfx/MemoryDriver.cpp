#include "gfx/MemoryDriver.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace gfx {

namespace {
std::atomic<PresentHook> hook{nullptr};
std::atomic<int> screenWidth{0};
std::atomic<int> screenHeight{0};
std::atomic<int> screenOrientation{0};
std::atomic<DisplayLogSink> logSink{nullptr};
}  // namespace

void setPresentHook(PresentHook presentHook) {
    hook = presentHook;
}
PresentHook presentHook() {
    return hook;
}

void setBackendScreen(int width, int height) {
    screenWidth = width;
    screenHeight = height;
}

void setBackendOrientation(int orientation) {
    screenOrientation = orientation;
}

void setDisplayLogSink(DisplayLogSink sink) {
    logSink = sink;
}

void displayLog(const char* format, ...) {
    DisplayLogSink sink = logSink;
    if (!sink) return;
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    sink(line);
}

ScreenDescription describeScreen() {
    ScreenDescription screen;
    screen.width = screenWidth;
    screen.height = screenHeight;
    int orientation = screenOrientation;
    screen.orientation = orientation >= 0 && orientation < 4 ? orientation : 0;
    const std::int32_t w = screen.width, h = screen.height, o = screen.orientation;
    screen.modes.push_back({w, h, o});
    if (w % 16 == 0 && h % 16 == 0) {
        for (int k = 1; k < 4; ++k)
            screen.modes.push_back(k & 1 ? DisplayMode{h, w, (o + k) % 4}
                                         : DisplayMode{w, h, (o + k) % 4});
    } else if (o != 0) {
        screen.modes.push_back(o == 2 ? DisplayMode{w, h, 0} : DisplayMode{h, w, 0});
    }
    return screen;
}

bool MemoryDriver::Open(void* window, const DisplayParameters& requested,
                        const ScreenDescription& screen) {
    (void)window;
    (void)requested;
    if (frame_ || screen.width <= 0 || screen.height <= 0) return false;
    frame_.reset(PixelBuffer::create(std::uint32_t(screen.width), std::uint32_t(screen.height)));
    if (!frame_) return false;
    std::memset(frame_->pixels, 0, std::size_t(frame_->pitch) * frame_->height);
    width = screen.width;
    height = screen.height;
    bitsPerPixel = 16;
    pitch = frame_->pitch;
    // The orientation in force: frames are never turned unless another one is asked for.
    orientation = screen.orientation;
    swapCapability = kSwapCopy;
    update_ = {0, 0, width, height};
    return true;
}

void MemoryDriver::Present(std::uint32_t flags) {
    (void)flags;
    PresentHook show = hook;
    if (!show || !frame_ || update_.isEmpty()) return;
    show(frame_->pixels, width, height, int(pitch));
}

}  // namespace gfx
