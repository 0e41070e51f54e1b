// NMEA 0183 framing for the tests' made-up receivers: "$" + body + "*" + the XOR of the body's
// bytes in two upper-case hex digits + CR LF. Written here apart from the program's framer, so
// that what the tests feed the parser and check the senders with does not come from the code
// under test.
#pragma once

#include <cstdio>
#include <string>

namespace nmeatest {

inline unsigned checksum(const std::string& body) {
    unsigned sum = 0;
    for (const char c : body) sum ^= static_cast<unsigned char>(c);
    return sum;
}

inline std::string sentence(const std::string& body) {
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", checksum(body));
    return "$" + body + tail;
}

}  // namespace nmeatest
