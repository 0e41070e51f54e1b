// The hand-over from the caller's thread to the reader: one signal that wakes the reader's
// timed wait at once and is consumed by the wait that sees it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

class StopEvent {
  public:
    // Wakes a waiting reader, or the next wait if none is waiting yet.
    void signal() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            signalled = true;
        }
        wake.notify_all();
    }

    // True when the event was signalled (and consumes it); false when the time ran out.
    bool wait(std::chrono::milliseconds timeout) {
        std::unique_lock<std::mutex> lock(mutex);
        if (!wake.wait_for(lock, timeout, [this] { return signalled; })) return false;
        signalled = false;
        return true;
    }

    void clear() {
        std::lock_guard<std::mutex> lock(mutex);
        signalled = false;
    }

  private:
    std::mutex mutex;
    std::condition_variable wake;
    bool signalled = false;
};
