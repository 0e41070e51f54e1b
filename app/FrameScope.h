// One frame of the screen: holds the frame lock, binds the display to its back buffer and
// presents the frame when done. Every thread that draws (window, GPS wait, review) draws
// through one of these, so a frame is never mixed with another thread's drawing.
//
//     FrameScope frame;
//     if (!frame) return;          // no display, or no back buffer this time
//     frame.target().Clear(...);
//     frame.present();             // or let the scope end
#pragma once

#include <mutex>

#include "app/AppState.h"
#include "gfx/Display.h"

class FrameScope {
  public:
    FrameScope() : lock_(appState.frameLock) {
        if (appState.layout.display && appState.layout.display->GetBackBuffer())
            display_ = appState.layout.display;
    }
    FrameScope(const FrameScope&) = delete;
    FrameScope& operator=(const FrameScope&) = delete;
    ~FrameScope() { present(); }

    // False when there is nothing to draw on; the frame is then skipped.
    explicit operator bool() const { return display_ != nullptr; }
    // The display bound to the back buffer. Only while the scope is true and not presented.
    gfx::Rasterizer& target() const { return *display_; }

    // Shows the finished frame; later calls do nothing. The lock is held until the scope ends.
    void present() {
        if (!display_) return;
        display_->Update(nullptr);
        display_ = nullptr;
    }

  private:
    std::unique_lock<std::mutex> lock_;
    gfx::Display* display_ = nullptr;
};
