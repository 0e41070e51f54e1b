// A back-end of the display: owns the real frame and makes it visible. On Linux the frame is
// kept in memory and handed to the window; the rotating adapter wraps a back-end whose
// orientation differs from the one asked for.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/Display.h"
#include "gfx/PixelBuffer.h"
#include "gfx/Rect.h"

namespace gfx {

// A (width, height, orientation) the screen can be driven in.
struct DisplayMode {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t orientation = 0;
};

// The screen as the back-ends find it.
struct ScreenDescription {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t bitsPerPixel = 16;
    std::int32_t orientation = 0;
    std::vector<DisplayMode> modes;
};

class DisplayDriver {
  public:
    virtual ~DisplayDriver() = default;

    // Fills width, height, bitsPerPixel, pitch, orientation and swapCapability.
    virtual bool Open(void* window, const DisplayParameters& requested,
                      const ScreenDescription& screen) = 0;
    virtual PixelBuffer* Lock() = 0;
    virtual void Present(std::uint32_t flags) = 0;
    virtual void SetUpdateRect(const Rect& rect) = 0;
    virtual void WaitForVerticalBlank() {}

    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t bitsPerPixel = 16;
    std::uint32_t pitch = 0;
    std::int32_t orientation = 0;
    // 0 none, 1 discard, 2 the application may draw straight into the frame.
    std::uint32_t swapCapability = 0;
};

// The screen the in-memory back-end shows on, from setBackendScreen/setBackendOrientation;
// its modes are the size in force and, for sizes in whole 16-pixel tiles, the three turns.
ScreenDescription describeScreen();

// Writes one diagnostic line to the sink in force.
void displayLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace gfx
