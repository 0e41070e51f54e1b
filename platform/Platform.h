// What the program asks of the machine it runs on: show a frame, play a steering sound, ask for
// a file, warn the driver, end the message loop. The Qt window implements it for real; the
// headless implementation records every request so that tests can check it.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Modes of the shapefile chooser.
enum class FileDialogMode { Open, Save };

class Platform {
  public:
    virtual ~Platform() = default;

    // Shows a finished RGB565 frame 1:1. Called with the frame lock held; must copy and return.
    virtual void presentFrame(const std::uint16_t* pixels, int width, int height,
                              int pitchBytes) = 0;
    // Plays a WAVE resource ("SONIDOLEFT", "SONIDORIGHT") asynchronously, cutting the one still
    // playing. No sound device: nothing happens.
    virtual void playSound(const char* name) = 0;
    // The file chooser, filter "SHP" / "*.shp". Returns false when cancelled. Open mode accepts
    // only existing files; save mode asks before overwriting.
    virtual bool chooseFile(FileDialogMode mode, std::string& path) = 0;
    // A warning box with the caption "Sulcovane".
    virtual void messageBox(const char* text) = 0;
    // Ends the message loop; the process exits with this code after the shut-down sequence.
    virtual void postQuit(int exitCode) = 0;
    // Asks for a paint message soon (a fix or the review set redrawPending).
    virtual void requestPaint() = 0;
};

// The platform in force; a headless one until the window is created.
Platform& current();
void install(Platform* platform);

}  // namespace platform
