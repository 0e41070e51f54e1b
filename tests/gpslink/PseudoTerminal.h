// A pseudo-terminal standing in for a receiver: the test writes sentences into the master side,
// the library opens the device side like a serial port.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>

class PseudoTerminal {
  public:
    PseudoTerminal() {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0) {
            if (const char* name = ptsname(master)) path = name;
        }
    }
    ~PseudoTerminal() { close(); }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool ok() const { return master >= 0 && !path.empty(); }
    const std::string& devicePath() const { return path; }

    // Writes what fits now; a full queue drops the rest, as a receiver's line would.
    void send(const std::string& bytes) const {
        if (master >= 0) {
            [[maybe_unused]] const ssize_t n = ::write(master, bytes.data(), bytes.size());
        }
    }
    // What the library wrote to the receiver: up to `count` bytes, waiting at most `limit`.
    std::string receive(std::size_t count, std::chrono::milliseconds limit) const {
        std::string got;
        const auto end = std::chrono::steady_clock::now() + limit;
        while (master >= 0 && got.size() < count && std::chrono::steady_clock::now() < end) {
            pollfd ready{master, POLLIN, 0};
            if (::poll(&ready, 1, 20) <= 0) continue;
            char buffer[256];
            const ssize_t n = ::read(master, buffer, std::min(sizeof buffer, count - got.size()));
            if (n > 0) got.append(buffer, std::size_t(n));
        }
        return got;
    }
    // The receiver goes away: the device side hangs up.
    void close() {
        if (master >= 0) ::close(master);
        master = -1;
    }

  private:
    int master = -1;
    std::string path;
};
