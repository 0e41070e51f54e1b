// A platform without a screen, for tests: it keeps the last presented frame, records every
// sound, message box and quit, and answers file dialogs from a queue.
#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace platform {

class HeadlessPlatform : public Platform {
  public:
    void presentFrame(const std::uint16_t* pixels, int width, int height, int pitchBytes) override;
    void playSound(const char* name) override;
    bool chooseFile(FileDialogMode mode, std::string& path) override;
    void messageBox(const char* text) override;
    void postQuit(int exitCode) override;
    void requestPaint() override;

    // Queues the answer of the next file dialog; std::nullopt answers Cancel.
    void queueFileAnswer(std::optional<std::string> path);

    struct Frame {
        int width = 0;
        int height = 0;
        std::vector<std::uint16_t> pixels;  // width x height, rows packed
        std::uint16_t at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    };
    Frame lastFrame() const;
    int framesPresented() const;
    std::vector<std::string> sounds() const;
    std::vector<std::string> messages() const;
    std::vector<FileDialogMode> dialogsAsked() const;
    std::optional<int> quitCode() const;
    int paintRequests() const;

  private:
    mutable std::mutex mutex_;
    Frame frame_;
    int frames_ = 0;
    std::vector<std::string> sounds_;
    std::vector<std::string> messages_;
    std::vector<FileDialogMode> dialogs_;
    std::deque<std::optional<std::string>> answers_;
    std::optional<int> quit_;
    int paints_ = 0;
};

}  // namespace platform
