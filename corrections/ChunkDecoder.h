// HTTP/1.1 chunked transfer coding, decoded as it streams: NTRIP 2.0 casters send the RTCM
// stream in chunks ("<hex size>[;extension]\r\n<data>\r\n" ... "0\r\n\r\n"), and a chunk may
// end inside a frame or a read may end inside a chunk header; only the data goes on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class ChunkDecoder {
  public:
    enum class Status { kMore, kEnd, kBroken };

    // Appends the data carried by these bytes to out. kEnd after the last chunk (anything after
    // it is ignored), kBroken on a malformed size line (the rest of the stream is unusable).
    Status feed(const std::uint8_t* bytes, std::size_t length, std::vector<std::uint8_t>& out);
    void reset();

  private:
    enum class Step {
        kSize,
        kExtension,
        kSizeEnd,
        kData,
        kDataCr,
        kDataLf,
        kTrailer,
        kDone,
        kBroken
    };

    Step step = Step::kSize;
    std::uint64_t remaining = 0;
    int sizeDigits = 0;
    // Characters of the trailer line being read; a blank line ends the stream.
    std::size_t trailerLine = 0;
};
