// The object through which the application draws the whole screen: a rasterizer bound, during
// a frame, to the back buffer, which Update presents. On Linux the frame is kept in memory and
// handed to the present hook the window installs.
#pragma once

#include <cstdint>
#include <memory>

#include "gfx/Rasterizer.h"
#include "gfx/Rect.h"
#include "gfx/Surface.h"

namespace gfx {

class Presenter;

// In and out of Display::Create; the application passes width and height 0.
struct DisplayParameters {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // 0 normal, 1 and 2 the further quarter turns, 3 turned 90 degrees clockwise, 4 the screen
    // as it is.
    std::uint32_t orientation = 4;
    // 1 discard (0 is replaced by it); 2 a back buffer separate from the frame.
    std::uint32_t swapEffect = 1;
};

enum : std::uint32_t {
    kOrientationAsIs = 4,
    kSwapDiscard = 1,
    kSwapCopy = 2,
};

// Receives each presented frame: RGB565 rows pitchBytes apart. Must copy and return.
using PresentHook = void (*)(const std::uint16_t* pixels, int width, int height, int pitchBytes);

// What the in-memory back-end shows on: the window's size and the orientation in force, set by
// the application before Display::Create. A frame is turned in software only when the display
// is created with an orientation other than this one.
void setPresentHook(PresentHook hook);
void setBackendScreen(int width, int height);
void setBackendOrientation(int orientation);

// Where the display's diagnostic lines go; by default nowhere.
using DisplayLogSink = void (*)(const char* line);
void setDisplayLogSink(DisplayLogSink sink);

class Display : public Rasterizer {
  public:
    // Null when no back-end opens or the orientation cannot be had; params then unchanged.
    // Otherwise params receive width, height, orientation and swap effect in force.
    static Display* Create(void* window, DisplayParameters& params);
    static void Destroy(Display* display);
    ~Display() override;

    // Begins a frame: binds the rasterizer to the back buffer and returns it; null (and
    // nothing to draw on) when no frame can be had.
    Surface* GetBackBuffer();
    // Presents the frame (only region when given) and ends it; false without a frame.
    bool Update(const Rect* region = nullptr);
    // A new surface, as gfx::CreateSurface; the display plays no part in it.
    Surface* CreateSurface(std::int32_t width, std::int32_t height);

    const DisplayParameters& Parameters() const { return parameters_; }
    Presenter* presenter() const { return presenter_.get(); }

  private:
    Display();

    DisplayParameters parameters_;
    std::unique_ptr<Presenter> presenter_;
    Surface backBuffer_;
};

}  // namespace gfx
