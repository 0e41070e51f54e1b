// RTCM 3 frames made for the tests, with their checksum computed bit by bit here (not by the
// table-driven code under test): preamble, length, a message whose first 12 bits are its type,
// CRC-24Q.
#pragma once

#include <cstdint>
#include <string>

inline std::uint32_t bitwiseCrc24q(const std::string& bytes) {
    std::uint32_t crc = 0;
    for (unsigned char byte : bytes) {
        for (int bit = 7; bit >= 0; --bit) {
            const bool top = ((crc >> 23) & 1) != (((byte >> bit) & 1) != 0);
            crc = (crc << 1) & 0xFFFFFF;
            if (top) crc ^= 0x864CFB;
        }
    }
    return crc;
}

// A frame of the given type with `length` message bytes (at least 2), filled from `seed`.
inline std::string rtcmFrame(unsigned type, std::size_t length, unsigned seed) {
    std::string f;
    f += char(0xD3);
    f += char((length >> 8) & 0x03);
    f += char(length & 0xFF);
    f += char(type >> 4);
    f += char(((type & 0x0F) << 4) | (seed & 0x0F));
    for (std::size_t i = 2; i < length; ++i) f += char((seed * 131 + i * 7) & 0xFF);
    const std::uint32_t crc = bitwiseCrc24q(f);
    f += char(crc >> 16);
    f += char((crc >> 8) & 0xFF);
    f += char(crc & 0xFF);
    return f;
}

// A base station's second: reference station, GPS, GLONASS, Galileo observations.
inline std::string rtcmEpoch(unsigned seed) {
    return rtcmFrame(1005, 19, seed) + rtcmFrame(1077, 180 + seed % 40, seed) +
           rtcmFrame(1087, 150, seed + 1) + rtcmFrame(1097, 120, seed + 2);
}
