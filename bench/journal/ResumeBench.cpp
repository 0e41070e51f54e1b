// resume_ms: milliseconds from a journal of a full work (65535 strip records, some pauses, A
// and B) on the disk to the work back in the program's state: the file read, every record
// checked and taken, the work arrays filled and the view recomputed (goal: under 300 ms).
#include <unistd.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/WorkSession.h"
#include "guidance/Projection.h"
#include "journal/JournalFormat.h"
#include "journal/JournalReader.h"

using namespace journal;

int main() {
    setUpProjection(appState.projection);
    char folder[] = "/tmp/sulco-bench-resume-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    std::string path = std::string(folder) + "/work.journal";
    {
        std::vector<std::uint8_t> bytes;
        appendHeader(bytes);
        PayloadWriter start;
        start.u8(kStateSettingAB);
        start.u16(1200);
        start.u16(600);
        appendRecord(bytes, kRecordWorkStart, start);
        PayloadWriter origin;
        origin.f64(11.6821);
        origin.f64(48.2103);
        origin.i32(32);
        origin.u8(1);
        appendRecord(bytes, kRecordOrigin, origin);
        double area = 0;
        for (int i = 0; i < kTrackCapacity; ++i) {
            int pass = i / 1300, along = i % 1300;
            int y = pass % 2 ? 3000 - 2 * along : 2 * along;
            area += 240.0;
            appendRecord(
                bytes, kRecordStrip,
                encodeStrip(
                    {{pass * 120 - 60.0, double(y), pass * 120 + 60.0, double(y)}, 2.0 * i, area}));
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
                b.f64(120);
                appendRecord(bytes, kRecordPointB, b);
            }
            if (i % 5000 == 4999) {
                PayloadWriter mark;
                mark.u16(std::uint16_t(i + 1));
                appendRecord(bytes, kRecordPause, mark);
                appendRecord(bytes, kRecordUnpause, {});
            }
        }
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        auto begin = std::chrono::steady_clock::now();
        std::ifstream in(path, std::ios::binary);
        std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        JournalContents work = readJournal(bytes.data(), bytes.size());
        loadJournalWork(work, true);
        double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin)
                .count();
        if (ms < best) best = ms;
        if (appState.work.strips.size() != kTrackCapacity) return 1;
    }
    std::printf("resume_ms: %.1f\n", best);
    std::remove(path.c_str());
    rmdir(folder);
    releaseProjection(appState.projection);
    return 0;
}
