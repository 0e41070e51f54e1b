// A journal of a work driven in straight passes, written as the program writes one: for the
// benchmarks that resume a work or run the program with it loaded.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "journal/JournalFormat.h"
#include "journal/JournalWorkKind.h"

// How a work is driven: records in all and to a pass, a pause every so many records, decimetres
// between records and between passes.
struct DrivenWork {
    int records;
    int perPass;
    int pauseEvery;
    double step;
    double width;
};

// An AB work (A on record 100, B on record 1000) near Munich, the passes back and forth.
inline bool writeDrivenJournal(const std::string& path, const DrivenWork& drive) {
    using namespace journal;
    std::vector<std::uint8_t> bytes;
    appendHeader(bytes);
    PayloadWriter start;
    start.u8(std::uint8_t(JournalWorkKind::AbLine));
    start.u16(std::uint16_t(drive.width * 10));
    start.u16(std::uint16_t(drive.width * 5));
    appendRecord(bytes, kRecordWorkStart, start);
    PayloadWriter origin;
    origin.f64(11.6821);
    origin.f64(48.2103);
    origin.i32(32);
    origin.u8(1);
    appendRecord(bytes, kRecordOrigin, origin);
    double area = 0;
    const double length = drive.step * (drive.perPass - 1);
    for (int i = 0; i < drive.records; ++i) {
        int pass = i / drive.perPass, along = i % drive.perPass;
        double y = pass % 2 ? length - drive.step * along : drive.step * along;
        double x = pass * drive.width;
        if (along > 0) area += drive.step * drive.width;
        appendRecord(
            bytes, kRecordStrip,
            encodeStrip({{x - drive.width / 2, y, x + drive.width / 2, y}, drive.step * i, area}));
        if (i == 100) {
            PayloadWriter a;
            a.f64(0);
            a.f64(200);
            appendRecord(bytes, kRecordPointA, a);
        }
        if (i == 1000) {
            PayloadWriter b;
            b.f64(0);
            b.f64(2000);
            b.f64(drive.width);
            appendRecord(bytes, kRecordPointB, b);
        }
        if (i % drive.pauseEvery == drive.pauseEvery - 1) {
            PayloadWriter mark;
            mark.u32(std::uint32_t(i + 1));
            appendRecord(bytes, kRecordPause, mark);
            appendRecord(bytes, kRecordUnpause, {});
        }
    }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

// The million-record work: a 36 m implement on passes of 1 km, a record every 0.5 m, paused at
// every headland.
inline constexpr DrivenWork kMillionRecordWork{1000000, 2000, 2000, 5.0, 360.0};
