// The caster's bytes: the reply header, the chunked coding, the RTCM 3 frame checker and the
// source table, on arbitrary input split into arbitrary reads. Whole and split must agree.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "corrections/ChunkDecoder.h"
#include "corrections/NtripReply.h"
#include "corrections/RtcmFrameChecker.h"
#include "corrections/SourceTable.h"

namespace {

struct Outcome {
    NtripReply::Kind kind = NtripReply::Kind::kIncomplete;
    std::vector<std::uint8_t> body;
    ChunkDecoder::Status chunks = ChunkDecoder::Status::kMore;
    std::uint64_t good = 0;
    std::uint64_t bad = 0;
};

// Feeds the bytes as the client does: the header first, then the body through the chunk
// decoder when chunked, then the frame checker.
Outcome run(const std::uint8_t* data, std::size_t size, std::size_t piece) {
    Outcome o;
    NtripReply reply;
    ChunkDecoder decoder;
    RtcmFrameChecker frames;
    bool inBody = false;
    for (std::size_t at = 0; at < size; at += piece) {
        const std::size_t n = piece < size - at ? piece : size - at;
        std::vector<std::uint8_t> bytes(data + at, data + at + n);
        if (!inBody) {
            o.kind = reply.feed(bytes.data(), bytes.size());
            if (o.kind != NtripReply::Kind::kData && o.kind != NtripReply::Kind::kSourceTable) {
                if (o.kind == NtripReply::Kind::kIncomplete) continue;
                return o;
            }
            inBody = true;
            const std::string rest = reply.bodySoFar();
            bytes.assign(rest.begin(), rest.end());
        }
        std::vector<std::uint8_t> out;
        if (reply.chunked()) {
            if (o.chunks == ChunkDecoder::Status::kMore) {
                o.chunks = decoder.feed(bytes.data(), bytes.size(), out);
            }
        } else {
            out = bytes;
        }
        frames.feed(out.data(), out.size());
        o.body.insert(o.body.end(), out.begin(), out.end());
    }
    o.good = frames.goodFrames();
    o.bad = frames.badFrames();
    return o;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t piece = 1 + data[0] % 64;
    const Outcome whole = run(data + 1, size - 1, size);
    const Outcome split = run(data + 1, size - 1, piece);
    // The header may be decided at a different byte, but never differently once complete;
    // the decoded body and the frame counts do not depend on how the reads fell.
    if (whole.kind != NtripReply::Kind::kIncomplete && split.kind != whole.kind &&
        split.kind != NtripReply::Kind::kIncomplete) {
        std::abort();
    }
    if (whole.kind == NtripReply::Kind::kData && split.kind == whole.kind &&
        (whole.body != split.body || whole.good != split.good || whole.bad != split.bad)) {
        std::abort();
    }
    // The frame checker alone, on the raw bytes, whole and byte by byte.
    RtcmFrameChecker a;
    RtcmFrameChecker b;
    a.feed(data, size);
    for (std::size_t i = 0; i < size; ++i) b.feed(data + i, 1);
    if (a.goodFrames() != b.goodFrames() || a.badFrames() != b.badFrames()) std::abort();
    const std::vector<Mountpoint> table =
        parseSourceTable(std::string(reinterpret_cast<const char*>(data), size));
    for (const Mountpoint& m : table) {
        if (m.name.empty()) std::abort();
    }
    return 0;
}
