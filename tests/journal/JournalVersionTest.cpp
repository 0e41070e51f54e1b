// Journals across the change to 32-bit record counts: a version 1 journal, written here byte for
// byte as the 65 535-record program wrote it, still reads; a new one says version 2 and carries
// pause marks beyond 16 bits.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "journal/JournalFormat.h"
#include "journal/JournalReader.h"

namespace {

using namespace journal;

void putLe(std::vector<std::uint8_t>& out, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}

void putF64(std::vector<std::uint8_t>& out, double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, 8);
    putLe(out, bits, 8);
}

// checksum | length | type | payload, the checksum over length, type and payload.
void putRecord(std::vector<std::uint8_t>& out, std::uint8_t type,
               const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> body;
    putLe(body, payload.size(), 2);
    body.push_back(type);
    body.insert(body.end(), payload.begin(), payload.end());
    putLe(out, crc32c(body.data(), body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
}

std::vector<std::uint8_t> stripPayload(double y, double distance, double area) {
    std::vector<std::uint8_t> p;
    for (double v : {-60.0, y, 60.0, y, distance, area}) putF64(p, v);
    return p;
}

// A free work of four records with a pause after the second, as version 1 wrote it.
std::vector<std::uint8_t> versionOneJournal() {
    std::vector<std::uint8_t> out = {'S', 'U', 'L', 'C', 'J', 'R', 'N', 'L', 1, 0, 0, 0};
    putLe(out, crc32c(out.data(), 12), 4);
    putRecord(out, 1, {0, 0xB0, 0x04, 0x58, 0x02});  // free work, 1200 cm, 600 cm
    std::vector<std::uint8_t> origin;
    putF64(origin, 13.4);
    putF64(origin, 52.5);
    putLe(origin, 33, 4);
    origin.push_back(1);
    putRecord(out, 2, origin);
    putRecord(out, 9, stripPayload(0, 0, 0));
    putRecord(out, 9, stripPayload(10, 10, 1200));
    putRecord(out, 4, {2, 0});  // the pause mark in two bytes
    putRecord(out, 5, {});
    putRecord(out, 9, stripPayload(30, 30, 1200));
    putRecord(out, 9, stripPayload(40, 40, 2400));
    return out;
}

TEST(JournalVersion, AVersionOneJournalStillReadsWhole) {
    const std::vector<std::uint8_t> bytes = versionOneJournal();
    JournalContents c = readJournal(bytes.data(), bytes.size());
    ASSERT_TRUE(c.readable);
    EXPECT_FALSE(c.damaged);
    EXPECT_EQ(c.records, 8u);
    EXPECT_EQ(c.implementWidth, 1200);
    ASSERT_EQ(c.strips.size(), 4u);
    EXPECT_EQ(c.strips[3].leftY, 40.0);
    EXPECT_EQ(c.pauseMarks, std::vector<std::uint32_t>{2});
    EXPECT_FALSE(c.paused);
    EXPECT_EQ(c.area, 2400.0);

    // A version 1 journal continued by this program gets four-byte marks after its two-byte
    // ones; both read.
    std::vector<std::uint8_t> continued = bytes;
    putRecord(continued, 4, {4, 0, 0, 0});
    c = readJournal(continued.data(), continued.size());
    EXPECT_FALSE(c.damaged);
    EXPECT_EQ(c.pauseMarks, (std::vector<std::uint32_t>{2, 4}));
    EXPECT_TRUE(c.paused);
}

TEST(JournalVersion, NewJournalsAreVersionTwoWithMarksBeyondSixteenBits) {
    std::vector<std::uint8_t> bytes;
    appendHeader(bytes);
    ASSERT_GE(bytes.size(), 12u);
    EXPECT_EQ(bytes[8], 2);
    EXPECT_EQ(bytes[9], 0);
    // A later version is not this program's to read.
    std::vector<std::uint8_t> later = bytes;
    later[8] = 3;
    const std::uint32_t crc = crc32c(later.data(), 12);
    for (int i = 0; i < 4; ++i) later[12 + i] = std::uint8_t(crc >> (8 * i));
    EXPECT_FALSE(readJournal(later.data(), later.size()).readable);

    std::vector<std::uint8_t> start = {0, 0xB0, 0x04, 0x58, 0x02};
    putRecord(bytes, 1, start);
    std::vector<std::uint8_t> origin;
    putF64(origin, 13.4);
    putF64(origin, 52.5);
    putLe(origin, 33, 4);
    origin.push_back(1);
    putRecord(bytes, 2, origin);
    const std::uint32_t records = 70000;
    for (std::uint32_t i = 0; i < records; ++i)
        putRecord(bytes, 9, stripPayload(10.0 * i, 10.0 * i, 1200.0 * i));
    std::vector<std::uint8_t> mark;
    putLe(mark, 65536 + 3000, 4);
    putRecord(bytes, 4, mark);
    JournalContents c = readJournal(bytes.data(), bytes.size());
    EXPECT_FALSE(c.damaged);
    EXPECT_EQ(c.strips.size(), std::size_t(records));
    EXPECT_EQ(c.strips.back().leftY, 10.0 * (records - 1));
    EXPECT_EQ(c.pauseMarks, std::vector<std::uint32_t>{65536 + 3000});
    // A mark beyond the records read ends the trusted part there.
    putRecord(bytes, 4, {0x71, 0x11, 0x01, 0x00});  // 70001
    EXPECT_TRUE(readJournal(bytes.data(), bytes.size()).damaged);
}

}  // namespace
