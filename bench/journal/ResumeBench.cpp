// Milliseconds from a journal on the disk to the work back in the program's state: the file
// read, every record checked and taken, the work arrays filled and the view recomputed.
//
//   resume_ms     a work of 65 535 strip records (the most while the count was 16 bits wide),
//                 passes of 1 300 records with a pause every 5 000, A and B (goal: under 300 ms)
//   resume_1m_ms  a work of 1 000 000 strip records: a 36 m implement on passes of 1 km, a
//                 record every 0.5 m, paused at every headland, A and B (goal: under 1 000 ms)
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/WorkSession.h"
#include "bench/DrivenJournal.h"
#include "guidance/Projection.h"
#include "journal/JournalReader.h"

using namespace journal;

namespace {

// The best of rounds resumes, in milliseconds; negative when a resume lost records.
double resumeMs(const std::string& path, int records, int rounds) {
    double best = 1e9;
    for (int round = 0; round < rounds; ++round) {
        auto begin = std::chrono::steady_clock::now();
        // Read as the program reads it: in one read of the file's size.
        std::ifstream in(path, std::ios::binary | std::ios::ate);
        std::vector<std::uint8_t> bytes(std::size_t(in.tellg()));
        in.seekg(0);
        in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
        JournalContents work = readJournal(bytes.data(), bytes.size());
        loadJournalWork(work, true);
        double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin)
                .count();
        if (ms < best) best = ms;
        if (appState.work.strips.size() != std::uint32_t(records)) return -1.0;
    }
    return best;
}

}  // namespace

int main() {
    setUpProjection(appState.projection);
    char folder[] = "/tmp/sulco-bench-resume-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    const std::string path = std::string(folder) + "/work.journal";

    const DrivenWork full16{65535, 1300, 5000, 2.0, 120.0};
    if (!writeDrivenJournal(path, full16)) return 1;
    const double ms16 = resumeMs(path, full16.records, 5);
    if (!writeDrivenJournal(path, kMillionRecordWork)) return 1;
    const double ms1m = resumeMs(path, kMillionRecordWork.records, 3);

    std::remove(path.c_str());
    rmdir(folder);
    releaseProjection(appState.projection);
    if (ms16 < 0 || ms1m < 0) return 1;
    std::printf("resume_ms: %.1f\n", ms16);
    std::printf("resume_1m_ms: %.1f\n", ms1m);
    return 0;
}
