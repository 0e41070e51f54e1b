// The 24-bit checksum that closes every RTCM 3 frame (Qualcomm's CRC-24Q, polynomial 0x1864CFB,
// initial value 0), taken over the frame's header and message.
#pragma once

#include <cstddef>
#include <cstdint>

std::uint32_t crc24q(const std::uint8_t* bytes, std::size_t length);
