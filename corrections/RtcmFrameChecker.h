// Watches the RTCM 3 stream on its way to the receiver, without changing it, to tell good
// corrections from damaged ones: a frame is the preamble 0xD3, six reserved zero bits, a 10-bit
// message length, the message and a CRC-24Q over all before it.
//
// Bytes may come split anywhere. While in step with the stream (from its start, and after each
// good frame) a frame that fails its length or checksum counts as bad; the checker then hunts
// for the next preamble, and a false start found while hunting counts as nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class RtcmFrameChecker {
  public:
    static constexpr std::size_t kMaxMessage = 1023;
    static constexpr std::size_t kMaxFrame = 3 + kMaxMessage + 3;

    // Returns the number of good frames completed by these bytes.
    std::size_t feed(const std::uint8_t* bytes, std::size_t length);
    void reset();

    std::uint64_t goodFrames() const { return good; }
    std::uint64_t badFrames() const { return bad; }
    // The message number (first 12 bits) of the last good frame; 0 before any.
    unsigned lastMessageType() const { return lastType; }

  private:
    // Looks at the frame starting at pending[0]; false when more bytes are needed.
    bool examine(std::size_t& goodNow);
    void dropLeadingByte();

    std::vector<std::uint8_t> pending;
    bool inStep = true;
    std::uint64_t good = 0;
    std::uint64_t bad = 0;
    unsigned lastType = 0;
};
