// A pseudo-terminal standing in for a receiver: the test writes sentences into the master side,
// the library opens the device side like a serial port.
#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

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
    // The receiver goes away: the device side hangs up.
    void close() {
        if (master >= 0) ::close(master);
        master = -1;
    }

  private:
    int master = -1;
    std::string path;
};
