#include "corrections/RtcmFrameChecker.h"

#include <algorithm>

#include "corrections/Crc24q.h"

namespace {
constexpr std::uint8_t kPreamble = 0xD3;
}

void RtcmFrameChecker::reset() {
    pending.clear();
    inStep = true;
}

std::size_t RtcmFrameChecker::feed(const std::uint8_t* bytes, std::size_t length) {
    std::size_t goodNow = 0;
    pending.insert(pending.end(), bytes, bytes + length);
    while (!pending.empty()) {
        if (pending[0] != kPreamble) {
            // Between frames there is nothing: a stray byte while in step is a broken frame.
            if (inStep) ++bad;
            inStep = false;
            const auto next = std::find(pending.begin(), pending.end(), kPreamble);
            pending.erase(pending.begin(), next);
            continue;
        }
        if (!examine(goodNow)) break;
    }
    return goodNow;
}

void RtcmFrameChecker::dropLeadingByte() {
    if (inStep) ++bad;
    inStep = false;
    pending.erase(pending.begin());
}

bool RtcmFrameChecker::examine(std::size_t& goodNow) {
    if (pending.size() < 3) return false;
    if ((pending[1] & 0xFC) != 0) {
        dropLeadingByte();
        return true;
    }
    const std::size_t messageLength = (std::size_t(pending[1] & 0x03) << 8) | pending[2];
    const std::size_t frameLength = 3 + messageLength + 3;
    if (pending.size() < frameLength) return false;
    const std::uint32_t sent = (std::uint32_t(pending[frameLength - 3]) << 16) |
                               (std::uint32_t(pending[frameLength - 2]) << 8) |
                               pending[frameLength - 1];
    if (crc24q(pending.data(), frameLength - 3) != sent) {
        dropLeadingByte();
        return true;
    }
    ++good;
    ++goodNow;
    inStep = true;
    lastType = messageLength >= 2 ? (unsigned(pending[3]) << 4) | (pending[4] >> 4) : 0;
    pending.erase(pending.begin(), pending.begin() + std::ptrdiff_t(frameLength));
    return true;
}
