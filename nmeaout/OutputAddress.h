// Where an output goes, as written in sulcovane.conf: udp://HOST:PORT, or the path of a serial
// device with an optional ?baud=N. The one parser of the guidance output and the section output.
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

// Nothing for text that is neither form, or a port or speed out of range. A device without ?baud
// runs at defaultBaud: 4800 for a lightbar, the section boards' own rate for the section output.
std::optional<OutputAddress> parseOutputAddress(const std::string& text, int defaultBaud = 4800);
