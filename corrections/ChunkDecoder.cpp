#include "corrections/ChunkDecoder.h"

#include <algorithm>

namespace {

int hexValue(std::uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// No caster sends chunks near this size; more digits would only overflow the count.
constexpr int kMaxSizeDigits = 8;

}  // namespace

void ChunkDecoder::reset() {
    step = Step::kSize;
    remaining = 0;
    sizeDigits = 0;
    trailerLine = 0;
}

ChunkDecoder::Status ChunkDecoder::feed(const std::uint8_t* bytes, std::size_t length,
                                        std::vector<std::uint8_t>& out) {
    std::size_t i = 0;
    while (i < length) {
        const std::uint8_t c = bytes[i];
        switch (step) {
            case Step::kSize: {
                const int digit = hexValue(c);
                if (digit >= 0 && sizeDigits < kMaxSizeDigits) {
                    remaining = remaining * 16 + std::uint64_t(digit);
                    ++sizeDigits;
                } else if (sizeDigits > 0 && (c == ';' || c == ' ' || c == '\t')) {
                    step = Step::kExtension;
                } else if (sizeDigits > 0 && c == '\r') {
                    step = Step::kSizeEnd;
                } else {
                    step = Step::kBroken;
                }
                ++i;
                break;
            }
            case Step::kExtension:
                if (c == '\r') step = Step::kSizeEnd;
                ++i;
                break;
            case Step::kSizeEnd:
                if (c != '\n') {
                    step = Step::kBroken;
                } else if (remaining == 0) {
                    step = Step::kTrailer;
                    trailerLine = 0;
                } else {
                    step = Step::kData;
                }
                ++i;
                break;
            case Step::kData: {
                const std::size_t take =
                    std::size_t(std::min<std::uint64_t>(remaining, length - i));
                out.insert(out.end(), bytes + i, bytes + i + take);
                i += take;
                remaining -= take;
                if (remaining == 0) step = Step::kDataCr;
                break;
            }
            case Step::kDataCr:
                step = c == '\r' ? Step::kDataLf : Step::kBroken;
                ++i;
                break;
            case Step::kDataLf:
                if (c == '\n') {
                    step = Step::kSize;
                    sizeDigits = 0;
                } else {
                    step = Step::kBroken;
                }
                ++i;
                break;
            case Step::kTrailer:
                if (c == '\n') {
                    if (trailerLine == 0) step = Step::kDone;
                    trailerLine = 0;
                } else if (c != '\r') {
                    ++trailerLine;
                }
                ++i;
                break;
            case Step::kDone:
                return Status::kEnd;
            case Step::kBroken:
                return Status::kBroken;
        }
    }
    if (step == Step::kDone) return Status::kEnd;
    if (step == Step::kBroken) return Status::kBroken;
    return Status::kMore;
}
