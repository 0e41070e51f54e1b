// The real program opened in this process as a user starts it, on the offscreen window, and
// the driver's hand: taps on its window, and waits that let the Qt loop run meanwhile.
#pragma once

#include <QImage>
#include <chrono>
#include <functional>
#include <string>

#include "app/AppState.h"
#include "app/ButtonRect.h"

// Polls the condition while Qt's events run, for up to the limit; true once it holds.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds limit = std::chrono::seconds(30));
// Lets Qt's events run for this long.
void runEventsFor(std::chrono::milliseconds time);

// A value of appState read under the frame lock, as a frame would see it.
template <typename F>
auto underFrameLock(F read) {
    std::lock_guard lock(appState.frameLock);
    return read();
}

class RunningProgram {
  public:
    RunningProgram() = default;
    ~RunningProgram() { close(); }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // Starts the program with the receiver at device, in a window of the given size; true
    // once the start screen (or the question whether to resume a work) has been presented.
    bool open(const std::string& device, int width = 480, int height = 640);
    // The shut-down, as after the quit message.
    void close();
    bool isOpen() const { return open_; }

    // A pen tap at the centre of the button, or at a window point.
    void tap(const ButtonRect& button);
    void tapAt(int x, int y);
    // A point of the work screen's map that no work button covers.
    void tapMap();
    std::uint8_t state() const { return appState.ui.screenState; }
    // True once the state has this value (the Qt loop runs meanwhile).
    bool reaches(std::uint8_t state, std::chrono::milliseconds limit = std::chrono::seconds(30));
    // The last presented frame, as the window shows it.
    QImage frame() const;
    // Waits for a frame presented after this call that satisfies the check.
    bool frameWhere(const std::function<bool(const QImage&)>& check,
                    std::chrono::milliseconds limit = std::chrono::seconds(20));
    // Taps Exit and Yes and runs the loop until the quit message ends it; true when it did.
    bool exitByButtons();

  private:
    bool open_ = false;
};

// The threads of this process that are not Qt's own (named) ones, the main thread included.
int unnamedThreadCount();
// Waits until no more unnamed threads run than before the program started.
bool threadsBackTo(int count, std::chrono::milliseconds limit = std::chrono::seconds(10));
