// The caster's answer to the request, read until its header ends. What follows the header is
// the body: corrections (raw, or chunked under NTRIP 2.0) or a source table.
//
//   NTRIP 1.0: "ICY 200 OK\r\n" then the data (some casters add header lines and a blank line
//              first: see icyHeaderLength); "SOURCETABLE 200 OK\r\n..." for a mountpoint it does
//              not know.
//   NTRIP 2.0: "HTTP/1.1 200 OK\r\n" headers "\r\n"; Content-Type gnss/data or gnss/sourcetable,
//              Transfer-Encoding: chunked.
//   Either:    "HTTP/1.x 401 Unauthorized", 404 for an unknown mountpoint.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

class NtripReply {
  public:
    enum class Kind {
        kIncomplete,   // more bytes needed
        kData,         // corrections follow
        kSourceTable,  // the caster's table follows: the mountpoint is unknown or none was asked
        kUnauthorized,
        kNotFound,
        kRefused,  // any other status
        kMalformed,
    };
    // No caster's header comes near this; more is not an NTRIP reply.
    static constexpr std::size_t kMaxHeader = 8192;

    // Takes bytes until the header is complete; then bodyOffset() is the index, in all bytes fed
    // so far, of the first body byte.
    Kind feed(const std::uint8_t* bytes, std::size_t length);

    Kind kind() const { return result; }
    bool chunked() const { return isChunked; }
    // An NTRIP 1.0 "ICY 200 OK": a few casters send header lines or a blank line after it.
    bool icy() const { return isIcy; }
    // How many bytes at the start of an ICY body are such a header (0: none; npos: more bytes
    // needed to tell). A header line begins with a letter, a frame with 0xD3.
    static std::size_t icyHeaderLength(const std::string& start);
    int status() const { return statusCode; }
    std::size_t bodyOffset() const { return bodyStart; }
    const std::string& statusLine() const { return firstLine; }
    // The body bytes that came with the header's last read.
    std::string bodySoFar() const { return header.substr(std::min(bodyStart, header.size())); }

  private:
    Kind decide();

    std::string header;
    std::string firstLine;
    Kind result = Kind::kIncomplete;
    bool isChunked = false;
    bool isIcy = false;
    int statusCode = 0;
    std::size_t bodyStart = 0;
};
