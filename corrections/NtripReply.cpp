#include "corrections/NtripReply.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

bool startsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

}  // namespace

NtripReply::Kind NtripReply::feed(const std::uint8_t* bytes, std::size_t length) {
    if (result != Kind::kIncomplete) return result;
    header.append(reinterpret_cast<const char*>(bytes), length);
    result = decide();
    if (result == Kind::kIncomplete && header.size() > kMaxHeader) result = Kind::kMalformed;
    return result;
}

NtripReply::Kind NtripReply::decide() {
    const std::size_t lineEnd = header.find("\r\n");
    if (lineEnd == std::string::npos) {
        // A binary answer, or no line end where one must be, is no NTRIP reply.
        if (!header.empty() && !std::isprint(static_cast<unsigned char>(header[0]))) {
            return Kind::kMalformed;
        }
        return Kind::kIncomplete;
    }
    firstLine = header.substr(0, lineEnd);
    std::size_t headerEnd = header.find("\r\n\r\n");
    if (startsWith(firstLine, "ICY 200")) {
        // The data may start right after the status line, and a network mountpoint sends none
        // until it has our position: decided here, at the line's end.
        bodyStart = lineEnd + 2;
        statusCode = 200;
        isIcy = true;
        return Kind::kData;
    }
    if (startsWith(firstLine, "SOURCETABLE 200")) {
        statusCode = 200;
        bodyStart = headerEnd == std::string::npos ? lineEnd + 2 : headerEnd + 4;
        // Old casters send the table straight after the status line; wait for its header only
        // when header lines follow.
        if (headerEnd == std::string::npos && header.size() < lineEnd + 3) return Kind::kIncomplete;
        if (headerEnd == std::string::npos &&
            std::isalpha(static_cast<unsigned char>(header[lineEnd + 2])) &&
            !startsWith(header.substr(lineEnd + 2), "STR;") &&
            !startsWith(header.substr(lineEnd + 2), "CAS;") &&
            !startsWith(header.substr(lineEnd + 2), "NET;") &&
            !startsWith(header.substr(lineEnd + 2), "ENDSOURCETABLE")) {
            return Kind::kIncomplete;
        }
        return Kind::kSourceTable;
    }
    if (!startsWith(firstLine, "HTTP/1.")) return Kind::kMalformed;
    const std::size_t space = firstLine.find(' ');
    statusCode = space == std::string::npos ? 0 : std::atoi(firstLine.c_str() + space + 1);
    // A refusal is final at its status line: some casters close without ending the header.
    if (statusCode == 401 || statusCode == 404) {
        bodyStart = header.size();
        return statusCode == 401 ? Kind::kUnauthorized : Kind::kNotFound;
    }
    if (headerEnd == std::string::npos) return Kind::kIncomplete;
    bodyStart = headerEnd + 4;
    // No header lines at all when the blank line follows the status line at once.
    const std::string fields =
        headerEnd > lineEnd ? lowered(header.substr(lineEnd + 2, headerEnd - lineEnd - 2)) : "";
    isChunked = fields.find("transfer-encoding: chunked") != std::string::npos;
    if (statusCode != 200) return statusCode == 0 ? Kind::kMalformed : Kind::kRefused;
    if (fields.find("gnss/sourcetable") != std::string::npos) return Kind::kSourceTable;
    return Kind::kData;
}

std::size_t NtripReply::icyHeaderLength(const std::string& start) {
    if (start.empty()) return std::string::npos;
    const unsigned char first = static_cast<unsigned char>(start[0]);
    if (first == '\r') {
        if (start.size() < 2) return std::string::npos;
        return start[1] == '\n' ? 2 : 0;
    }
    if (!std::isalpha(first)) return 0;
    const std::size_t end = start.find("\r\n\r\n");
    if (end != std::string::npos) return end + 4;
    return start.size() > kMaxHeader ? 0 : std::string::npos;
}
