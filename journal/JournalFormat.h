// The work journal's bytes. A file is a header followed by records:
//
//   header  = "SULCJRNL" | version u16 | 0 u16 | crc32c of the 12 bytes before it, u32
//   record  = crc32c u32 | length u16 | type u8 | payload (length bytes)
//
// Numbers are little-endian; the checksum of a record covers its length, type and payload. A
// reader trusts every record up to the first one that is cut short or fails its checksum, and
// passes over whole records of types it does not know, so new types extend the format without
// a new version.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "guidance/TrackEdge.h"

namespace journal {

inline constexpr char kMagic[8] = {'S', 'U', 'L', 'C', 'J', 'R', 'N', 'L'};
// Version 2 journals may hold more than 65 535 strip records and four-byte pause marks; a
// program of version 1 refuses them (and keeps the file) rather than resuming the work cut
// short at its own limit. Version 1 journals still resume.
inline constexpr std::uint16_t kVersion = 2;
inline constexpr std::size_t kHeaderSize = 16;
inline constexpr std::size_t kRecordHeaderSize = 7;

enum RecordType : std::uint8_t {
    // kind u8 (the screen state the work started in), implementWidth u16, implementHalfWidth u16
    kRecordWorkStart = 1,
    // longitude f64, latitude f64, UTM zone i32, north u8
    kRecordOrigin = 2,
    // one strip record in plane decimetres: leftX, leftY, rightX, rightY i32; then the work's
    // distance i32 (dm) and worked area f64 (dm^2) once the record is added
    kRecordStripDm = 3,
    // a pause mark (a record count) u32, or u16 in journals written before version 2 (and in
    // those continued since): the payload's length tells which; then the work is paused
    kRecordPause = 4,
    // the pause is lifted (no payload)
    kRecordUnpause = 5,
    // point A: x f64, y f64 (plane decimetres)
    kRecordPointA = 6,
    // point B: x f64, y f64, guide-line spacing f64 (dm)
    kRecordPointB = 7,
    // zoom f32, north up u8
    kRecordView = 8,
    // one strip record in the precise plane: leftX, leftY, rightX, rightY f64 (dm); then the
    // work's distance f64 (dm) and worked area f64 (dm^2) once the record is added. Written
    // instead of kRecordStripDm, which older journals hold and which still resumes.
    kRecordStrip = 9,
    // a piece of a curved reference line, between A and B: pairs of x f64, y f64 (plane dm),
    // at most kCurvePointsPerRecord of them; the pieces in order make the line, which the
    // point B record after them completes
    kRecordCurvePoints = 10,
    // the section bar: the master u8 (0 Auto, 1 Manual, 2 Off), then each section's force u8
    // (0 none, 1 on, 2 off), left to right, 1 to 64 of them; the newest holds
    kRecordSections = 11,
};

// A record's length is 16 bits: a long curve is journaled in pieces.
inline constexpr std::size_t kCurvePointsPerRecord = 4000;

// CRC-32C (Castagnoli), as used by storage formats for short records.
std::uint32_t crc32c(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);

// Appends little-endian values to a payload. The usual record fits the inline buffer, so the fix
// callback allocates nothing; a longer one (a curve's points) moves to the heap.
class PayloadWriter {
  public:
    void u8(std::uint8_t v) { push(v); }
    void u16(std::uint16_t v) { put(v, 2); }
    void u32(std::uint32_t v) { put(v, 4); }
    void i32(std::int32_t v) { put(std::uint32_t(v), 4); }
    void f32(float v);
    void f64(double v);
    const std::uint8_t* data() const { return large_.empty() ? bytes_ : large_.data(); }
    std::uint16_t size() const { return std::uint16_t(size_); }

  private:
    void put(std::uint64_t v, int n) {
        for (int i = 0; i < n; ++i) push(std::uint8_t(v >> (8 * i)));
    }
    void push(std::uint8_t b) {
        if (size_ < sizeof bytes_) {
            bytes_[size_++] = b;
            return;
        }
        if (large_.empty()) large_.assign(bytes_, bytes_ + size_);
        large_.push_back(b);
        ++size_;
    }
    std::uint8_t bytes_[64] = {};
    std::vector<std::uint8_t> large_;
    std::size_t size_ = 0;
};

// Reads little-endian values off a payload; ok() turns false once a read runs past its end.
class PayloadReader {
  public:
    PayloadReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t u8() { return std::uint8_t(get(1)); }
    std::uint16_t u16() { return std::uint16_t(get(2)); }
    std::uint32_t u32() { return std::uint32_t(get(4)); }
    std::int32_t i32() { return std::int32_t(std::uint32_t(get(4))); }
    float f32();
    double f64();
    bool ok() const { return ok_; }

  private:
    std::uint64_t get(int n);
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t offset_ = 0;
    bool ok_ = true;
};

// The header of a new journal.
void appendHeader(std::vector<std::uint8_t>& out);
// True when the bytes start with a header this program reads.
bool headerValid(const std::uint8_t* data, std::size_t size);
// One whole record: checksum, length, type, payload.
void appendRecord(std::vector<std::uint8_t>& out, RecordType type, const PayloadWriter& payload);

// The strip record and the work's totals after it: its encoding lives only here.
struct StripEntry {
    TrackEdge edge;
    double distance = 0.0;
    double area = 0.0;
};
PayloadWriter encodeStrip(const StripEntry& entry);
// Either strip type; false when the payload is short or a value is not finite.
bool decodeStrip(RecordType type, PayloadReader& in, StripEntry& entry);

}  // namespace journal
