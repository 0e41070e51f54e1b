// How an NMEA 0183 sentence is closed: "$" + body + "*" + the XOR of the body's bytes in two
// upper-case hex digits + CR LF. The library's parser checks exactly this; the program's
// senders (guidance output, the position sent up to the caster, the receiver simulator) write
// it with this one function. Header only, so that folders which know the library only by its
// headers use it without linking its internals.
#pragma once

#include <string>
#include <string_view>

// The XOR of every byte of body (what lies between '$' and '*').
inline unsigned nmeaChecksum(std::string_view body) {
    unsigned sum = 0;
    for (const unsigned char c : body) sum ^= c;
    return sum;
}

// The whole sentence for body, e.g. "GPXTE,A,A,0.00016,L,N" -> "$GPXTE,A,A,0.00016,L,N*hh\r\n".
inline std::string nmeaSentence(std::string_view body) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const unsigned sum = nmeaChecksum(body);
    std::string sentence;
    sentence.reserve(body.size() + 6);
    sentence += '$';
    sentence += body;
    sentence += '*';
    sentence += kHex[sum >> 4];
    sentence += kHex[sum & 15];
    sentence += "\r\n";
    return sentence;
}
