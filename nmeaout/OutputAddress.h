// Where guidance output goes, as written in sulcovane.conf: udp://HOST:PORT, or the path of a
// serial device with an optional ?baud=N (4800 when none).
#pragma once

#include <optional>
#include <string>

struct OutputAddress {
    bool udp = false;
    std::string host;  // UDP
    int port = 0;
    std::string device;  // serial
    int baud = 4800;
};

// Nothing for text that is neither form, or a port or speed out of range.
std::optional<OutputAddress> parseOutputAddress(const std::string& text);
