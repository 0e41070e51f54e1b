// The hand-over from the caller's thread to the reader: one signal, an eventfd, that the reader
// waits on together with its port, so that a stop wakes it at once whatever it waits for.
#pragma once

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>

class StopEvent {
  public:
    StopEvent() : fd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
    ~StopEvent() {
        if (fd >= 0) ::close(fd);
    }
    StopEvent(const StopEvent&) = delete;
    StopEvent& operator=(const StopEvent&) = delete;

    bool valid() const { return fd >= 0; }
    // Readable (POLLIN) while signalled; for the reader's poll.
    int descriptor() const { return fd; }

    // Wakes a waiting reader, or the next wait if none is waiting yet.
    void signal() {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(fd, &one, sizeof one);
    }

    // True when the event was signalled (and consumes it); false when the time ran out.
    bool wait(std::chrono::milliseconds timeout) {
        pollfd wake{fd, POLLIN, 0};
        if (::poll(&wake, 1, static_cast<int>(timeout.count())) <= 0) return false;
        clear();
        return true;
    }

    void clear() {
        std::uint64_t count = 0;
        [[maybe_unused]] const ssize_t n = ::read(fd, &count, sizeof count);
    }

  private:
    int fd;
};
