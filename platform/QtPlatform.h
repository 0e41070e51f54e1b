// The platform on a real screen: the Qt main window, ALSA sound, Qt's file and message dialogs.
#pragma once

#include <memory>

#include "platform/AlsaSound.h"
#include "platform/MainWindow.h"
#include "platform/Platform.h"

namespace platform {

class QtPlatform : public Platform {
  public:
    explicit QtPlatform(MainWindow::Dispatch dispatch);
    ~QtPlatform() override;

    void presentFrame(const std::uint16_t* pixels, int width, int height, int pitchBytes) override;
    void playSound(const char* name) override;
    bool chooseFile(FileDialogMode mode, std::string& path) override;
    void messageBox(const char* text) override;
    void postQuit(int exitCode) override;
    void requestPaint() override;

    MainWindow& window() { return *window_; }
    // Brings the window to the front (a second start asked for it).
    void raise();

  private:
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<AlsaSound> sound_;
};

// The size of the primary screen, the window's size when --size is not given.
void primaryScreenSize(int& width, int& height);
// The display rotation answer: 1 (90 degrees) when the window is wider than tall, else 0.
unsigned rotationFor(int width, int height);

}  // namespace platform
