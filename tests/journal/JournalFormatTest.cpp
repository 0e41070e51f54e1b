// The journal's bytes against damage: cut at every offset, single bytes flipped, random files.
// The reader must never crash and must take exactly the records before the first damaged one.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "journal/JournalFormat.h"
#include "journal/JournalReader.h"
#include "journal/JournalWorkKind.h"

namespace {

using namespace journal;

// A strip record as journals of the decimetre grid wrote it: whole decimetres in 32 bits.
PayloadWriter stripOfTheGrid(const TrackEdge& e, std::int32_t distance, double area) {
    PayloadWriter w;
    for (double v : {e.leftX, e.leftY, e.rightX, e.rightY}) w.i32(std::int32_t(v));
    w.i32(distance);
    w.f64(area);
    return w;
}

// A journal of a small AB work, and where each of its records ends. Its first strips are of
// the decimetre grid, the rest precise: a work resumed across the change reads both.
struct Sample {
    std::vector<std::uint8_t> bytes;
    std::vector<std::size_t> recordEnds;
    std::vector<TrackEdge> strips;
    // Strips, pause marks and A/B held by the first k records.
    std::vector<std::size_t> stripsAfter;
};

Sample sampleJournal() {
    Sample s;
    appendHeader(s.bytes);
    auto add = [&](RecordType type, const PayloadWriter& w) {
        appendRecord(s.bytes, type, w);
        s.recordEnds.push_back(s.bytes.size());
        s.stripsAfter.push_back(s.strips.size());
    };
    PayloadWriter start;
    start.u8(2);  // an AB-line work, as every journal on disk stores it
    start.u16(1200);
    start.u16(600);
    add(kRecordWorkStart, start);
    PayloadWriter origin;
    origin.f64(13.4);
    origin.f64(52.5);
    origin.i32(33);
    origin.u8(1);
    add(kRecordOrigin, origin);
    for (int i = 0; i < 40; ++i) {
        if (i < 15) {
            TrackEdge e{-60, 10.0 * i, 60, 10.0 * i + 1};
            s.strips.push_back(e);
            add(kRecordStripDm, stripOfTheGrid(e, 10 * i, 1200.0 * i));
        } else {
            TrackEdge e{-60.25, 10.0 * i + 0.125, 59.75, 10.0 * i + 1.375};
            s.strips.push_back(e);
            add(kRecordStrip, encodeStrip({e, 10.0 * i + 0.5, 1200.0 * i}));
        }
        if (i == 10) {
            PayloadWriter a;
            a.f64(0.0);
            a.f64(100.0);
            add(kRecordPointA, a);
        }
        if (i == 20) {
            PayloadWriter mark;
            mark.u16(21);
            add(kRecordPause, mark);
            add(kRecordUnpause, {});
        }
    }
    PayloadWriter b;
    b.f64(0.0);
    b.f64(400.0);
    b.f64(120.0);
    add(kRecordPointB, b);
    return s;
}

// How many records end at or before offset.
std::size_t wholeRecords(const Sample& s, std::size_t offset) {
    std::size_t n = 0;
    while (n < s.recordEnds.size() && s.recordEnds[n] <= offset) ++n;
    return n;
}

TEST(JournalFormat, ChecksumIsCrc32c) {
    const char* text = "123456789";
    EXPECT_EQ(crc32c(reinterpret_cast<const std::uint8_t*>(text), 9), 0xE3069283u);
}

TEST(JournalFormat, AWholeJournalReadsBackEveryRecord) {
    Sample s = sampleJournal();
    JournalContents c = readJournal(s.bytes.data(), s.bytes.size());
    ASSERT_TRUE(c.readable);
    EXPECT_FALSE(c.damaged);
    EXPECT_EQ(c.records, s.recordEnds.size());
    EXPECT_EQ(c.kind, std::uint8_t(JournalWorkKind::AbLine));
    EXPECT_TRUE(c.guided());
    EXPECT_EQ(c.implementWidth, 1200);
    EXPECT_DOUBLE_EQ(c.originLonLat[0], 13.4);
    ASSERT_EQ(c.strips.size(), s.strips.size());
    for (std::size_t i = 0; i < s.strips.size(); ++i)
        EXPECT_EQ(c.strips[i].rightY, s.strips[i].rightY);
    EXPECT_EQ(c.pauseMarks, std::vector<std::uint32_t>{21});
    EXPECT_FALSE(c.paused);
    EXPECT_EQ(c.distance, 390.5);
    EXPECT_DOUBLE_EQ(c.area, 1200.0 * 39);
    EXPECT_TRUE(c.pointBSet);
    EXPECT_DOUBLE_EQ(c.spacing, 120.0);
}

TEST(JournalFormat, ACutJournalKeepsEveryWholeRecordBeforeTheCut) {
    Sample s = sampleJournal();
    for (std::size_t cut = 0; cut <= s.bytes.size(); ++cut) {
        // A copy of exactly cut bytes, so that reading past it is caught by the sanitizers.
        std::vector<std::uint8_t> part(s.bytes.begin(), s.bytes.begin() + std::ptrdiff_t(cut));
        JournalContents c = readJournal(part.data(), part.size());
        ASSERT_EQ(c.readable, cut >= kHeaderSize) << cut;
        if (!c.readable) continue;
        std::size_t whole = wholeRecords(s, cut);
        ASSERT_EQ(c.records, whole) << cut;
        ASSERT_EQ(c.strips.size(), whole ? s.stripsAfter[whole - 1] : 0) << cut;
        ASSERT_EQ(c.goodBytes, whole ? s.recordEnds[whole - 1] : kHeaderSize) << cut;
        ASSERT_EQ(c.damaged, c.goodBytes != cut) << cut;
    }
}

TEST(JournalFormat, AFlippedByteEndsTheJournalAtItsRecord) {
    Sample s = sampleJournal();
    std::mt19937 random(7);
    for (std::size_t at = 0; at < s.bytes.size(); ++at) {
        std::vector<std::uint8_t> bytes = s.bytes;
        bytes[at] ^= std::uint8_t(1 + random() % 255);
        JournalContents c = readJournal(bytes.data(), bytes.size());
        if (at < kHeaderSize) {
            ASSERT_FALSE(c.readable) << at;
            continue;
        }
        ASSERT_EQ(c.records, wholeRecords(s, at)) << at;
        ASSERT_TRUE(c.damaged) << at;
    }
}

TEST(JournalFormat, RandomBytesNeverPassForAJournal) {
    std::mt19937 random(11);
    Sample s = sampleJournal();
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::uint8_t> bytes(random() % 600);
        for (auto& b : bytes) b = std::uint8_t(random());
        EXPECT_FALSE(readJournal(bytes.data(), bytes.size()).readable);
        // Behind a good header and start, random bytes give no records either.
        std::vector<std::uint8_t> tail(s.bytes.begin(),
                                       s.bytes.begin() + std::ptrdiff_t(s.recordEnds[1]));
        tail.insert(tail.end(), bytes.begin(), bytes.end());
        JournalContents c = readJournal(tail.data(), tail.size());
        EXPECT_EQ(c.records, 2u);
        EXPECT_EQ(c.goodBytes, s.recordEnds[1]);
    }
}

TEST(JournalFormat, RecordsOfALaterProgramArePassedOver) {
    Sample s = sampleJournal();
    std::vector<std::uint8_t> bytes(s.bytes.begin(),
                                    s.bytes.begin() + std::ptrdiff_t(s.recordEnds[5]));
    PayloadWriter later;
    for (int i = 0; i < 40; ++i) later.u8(std::uint8_t(i));
    appendRecord(bytes, RecordType(200), later);
    bytes.insert(bytes.end(), s.bytes.begin() + std::ptrdiff_t(s.recordEnds[5]), s.bytes.end());
    JournalContents c = readJournal(bytes.data(), bytes.size());
    EXPECT_FALSE(c.damaged);
    EXPECT_EQ(c.records, s.recordEnds.size() + 1);
    EXPECT_EQ(c.strips.size(), s.strips.size());
}

TEST(JournalFormat, RecordsThatCannotBelongToTheWorkEndIt) {
    Sample s = sampleJournal();
    // A second point B, and a pause mark behind the records there are.
    for (std::uint16_t mark : {std::uint16_t(41), std::uint16_t(5)}) {
        std::vector<std::uint8_t> bytes = s.bytes;
        PayloadWriter w;
        w.u16(mark);
        appendRecord(bytes, kRecordPause, w);
        JournalContents c = readJournal(bytes.data(), bytes.size());
        EXPECT_EQ(c.records, s.recordEnds.size()) << mark;
        EXPECT_TRUE(c.damaged) << mark;
    }
    // A strip before the origin.
    std::vector<std::uint8_t> bytes(s.bytes.begin(),
                                    s.bytes.begin() + std::ptrdiff_t(s.recordEnds[0]));
    appendRecord(bytes, kRecordStrip, encodeStrip({}));
    EXPECT_EQ(readJournal(bytes.data(), bytes.size()).records, 1u);
}

}  // namespace
