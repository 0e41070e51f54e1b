#include "platform/HeadlessPlatform.h"

#include <cstring>

namespace platform {

void HeadlessPlatform::presentFrame(const std::uint16_t* pixels, int width, int height,
                                    int pitchBytes) {
    std::lock_guard lock(mutex_);
    frame_.width = width;
    frame_.height = height;
    frame_.pixels.resize(std::size_t(width) * height);
    const auto* row = reinterpret_cast<const unsigned char*>(pixels);
    for (int y = 0; y < height; ++y, row += pitchBytes)
        std::memcpy(&frame_.pixels[std::size_t(y) * width], row, std::size_t(width) * 2);
    ++frames_;
}

void HeadlessPlatform::playSound(const char* name) {
    std::lock_guard lock(mutex_);
    sounds_.emplace_back(name);
}

bool HeadlessPlatform::chooseFile(FileDialogMode mode, std::string& path) {
    std::lock_guard lock(mutex_);
    dialogs_.push_back(mode);
    if (answers_.empty() || !answers_.front()) {
        if (!answers_.empty()) answers_.pop_front();
        return false;
    }
    path = *answers_.front();
    answers_.pop_front();
    return true;
}

void HeadlessPlatform::messageBox(const char* text) {
    std::lock_guard lock(mutex_);
    messages_.emplace_back(text);
}

void HeadlessPlatform::postQuit(int exitCode) {
    std::lock_guard lock(mutex_);
    quit_ = exitCode;
}

void HeadlessPlatform::requestPaint() {
    std::lock_guard lock(mutex_);
    ++paints_;
}

void HeadlessPlatform::queueFileAnswer(std::optional<std::string> path) {
    std::lock_guard lock(mutex_);
    answers_.push_back(std::move(path));
}

HeadlessPlatform::Frame HeadlessPlatform::lastFrame() const {
    std::lock_guard lock(mutex_);
    return frame_;
}
int HeadlessPlatform::framesPresented() const {
    std::lock_guard lock(mutex_);
    return frames_;
}
std::vector<std::string> HeadlessPlatform::sounds() const {
    std::lock_guard lock(mutex_);
    return sounds_;
}
std::vector<std::string> HeadlessPlatform::messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
}
std::vector<FileDialogMode> HeadlessPlatform::dialogsAsked() const {
    std::lock_guard lock(mutex_);
    return dialogs_;
}
std::optional<int> HeadlessPlatform::quitCode() const {
    std::lock_guard lock(mutex_);
    return quit_;
}
int HeadlessPlatform::paintRequests() const {
    std::lock_guard lock(mutex_);
    return paints_;
}

namespace {
HeadlessPlatform fallback;
Platform* active = &fallback;
}  // namespace

Platform& current() {
    return *active;
}
void install(Platform* platform) {
    active = platform ? platform : &fallback;
}

}  // namespace platform
