#include "corrections/NtripRequest.h"

std::string base64(const std::string& bytes) {
    static const char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = (unsigned(std::uint8_t(bytes[i])) << 16) |
                           (unsigned(std::uint8_t(bytes[i + 1])) << 8) | std::uint8_t(bytes[i + 2]);
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += kAlphabet[v & 63];
    }
    if (i < bytes.size()) {
        unsigned v = unsigned(std::uint8_t(bytes[i])) << 16;
        if (i + 1 < bytes.size()) v |= unsigned(std::uint8_t(bytes[i + 1])) << 8;
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += i + 1 < bytes.size() ? kAlphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

namespace {

// A mountpoint as typed on the page or in sulcovane.conf goes into the request line: a space,
// a line break or a byte past ASCII there would end the line early or start a header line of
// its own. Those bytes go percent-encoded; every other byte stays as the caster named it.
std::string requestTarget(const std::string& mountpoint) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : mountpoint) {
        const auto b = std::uint8_t(c);
        if (b > 0x20 && b < 0x7F) {
            out += c;
        } else {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 15];
        }
    }
    return out;
}

}  // namespace

std::string ntripRequest(const NtripSettings& settings, const std::string& gga) {
    const bool two = settings.version != 1;
    std::string r =
        "GET /" + requestTarget(settings.mountpoint) + (two ? " HTTP/1.1\r\n" : " HTTP/1.0\r\n");
    if (two) {
        r += "Host: " + settings.caster + ":" + std::to_string(settings.port) + "\r\n";
        r += "Ntrip-Version: Ntrip/2.0\r\n";
    }
    r += "User-Agent: NTRIP Sulcovane/3.2\r\n";
    if (!settings.user.empty()) {
        r += "Authorization: Basic " + base64(settings.user + ":" + settings.password) + "\r\n";
    }
    if (two && !gga.empty() && !settings.mountpoint.empty()) {
        std::string line = gga;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        r += "Ntrip-GGA: " + line + "\r\n";
    }
    if (two) r += "Connection: close\r\n";
    r += "\r\n";
    return r;
}
