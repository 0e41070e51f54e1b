#include "nmeaout/OutputAddress.h"

#include <charconv>

namespace {

std::optional<int> number(const std::string& text, int low, int high) {
    int value = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return std::nullopt;
    if (value < low || value > high) return std::nullopt;
    return value;
}

}  // namespace

std::optional<OutputAddress> parseOutputAddress(const std::string& text, int defaultBaud) {
    OutputAddress a;
    a.baud = defaultBaud;
    const std::string scheme = "udp://";
    if (text.compare(0, scheme.size(), scheme) == 0) {
        const std::string rest = text.substr(scheme.size());
        const std::size_t colon = rest.rfind(':');
        if (colon == std::string::npos || colon == 0) return std::nullopt;
        std::string host = rest.substr(0, colon);
        // [::1]:port for an IPv6 literal.
        if (host.size() > 2 && host.front() == '[' && host.back() == ']')
            host = host.substr(1, host.size() - 2);
        const std::optional<int> port = number(rest.substr(colon + 1), 1, 65535);
        if (!port || host.empty()) return std::nullopt;
        a.udp = true;
        a.host = host;
        a.port = *port;
        return a;
    }
    if (text.empty() || text.front() != '/') return std::nullopt;
    const std::size_t query = text.find('?');
    a.device = text.substr(0, query);
    if (query != std::string::npos) {
        const std::string option = text.substr(query + 1);
        const std::string key = "baud=";
        if (option.compare(0, key.size(), key) != 0) return std::nullopt;
        const std::optional<int> baud = number(option.substr(key.size()), 50, 4000000);
        if (!baud) return std::nullopt;
        a.baud = *baud;
    }
    if (a.device.size() < 2) return std::nullopt;
    return a;
}
