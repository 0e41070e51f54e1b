#include <cctype>
#include <cstdlib>

#include "corrections/NtripUrl.h"

namespace {

bool decodePercent(const std::string& text, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[i + 1])) ||
            !std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            return false;
        }
        out += char(std::strtol(text.substr(i + 1, 2).c_str(), nullptr, 16));
        i += 2;
    }
    return true;
}

}  // namespace

bool parseNtripUrl(const std::string& url, NtripSettings& settings, std::string& error) {
    const std::string scheme = "ntrip://";
    if (url.rfind(scheme, 0) != 0) {
        error = "the caster must be given as ntrip://[USER[:PASSWORD]@]HOST[:PORT]/MOUNTPOINT";
        return false;
    }
    std::string rest = url.substr(scheme.size());
    const std::size_t slash = rest.find('/');
    if (slash == std::string::npos || slash + 1 >= rest.size()) {
        error = "no mountpoint after the caster in " + url;
        return false;
    }
    const std::string mountpoint = rest.substr(slash + 1);
    std::string authority = rest.substr(0, slash);
    std::string user;
    std::string password;
    // The password may itself hold '@'; the host never does.
    const std::size_t at = authority.rfind('@');
    if (at != std::string::npos) {
        const std::string login = authority.substr(0, at);
        authority = authority.substr(at + 1);
        const std::size_t colon = login.find(':');
        if (!decodePercent(login.substr(0, colon), user) ||
            (colon != std::string::npos && !decodePercent(login.substr(colon + 1), password))) {
            error = "bad percent escape in the login of " + url;
            return false;
        }
    }
    int port = 2101;
    const std::size_t colon = authority.rfind(':');
    if (colon != std::string::npos) {
        const std::string digits = authority.substr(colon + 1);
        char* end = nullptr;
        const long value = std::strtol(digits.c_str(), &end, 10);
        if (digits.empty() || *end != '\0' || value < 1 || value > 65535) {
            error = "bad port '" + digits + "' in " + url;
            return false;
        }
        port = int(value);
        authority = authority.substr(0, colon);
    }
    if (authority.empty()) {
        error = "no caster host in " + url;
        return false;
    }
    settings.on = true;
    settings.caster = authority;
    settings.port = port;
    settings.mountpoint = mountpoint;
    settings.user = user;
    settings.password = password;
    return true;
}
