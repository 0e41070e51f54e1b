// Every captured receiver log, fed whole and in random pieces, must give the same fixes, and
// those must be the reviewed ones in expected/. After a deliberate change of the parser,
// regenerate them with tests/gpslink/regenerate-expected.sh and review the difference.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "gpslink/NmeaParser.h"
#include "tests/gpslink/FixRecorder.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> captures() {
    std::vector<fs::path> logs;
    for (const auto& entry : fs::directory_iterator(fs::path(SULCO_SHARED_DIR) / "nmea-logs")) {
        if (entry.path().extension() == ".log") logs.push_back(entry.path());
    }
    std::sort(logs.begin(), logs.end());
    return logs;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The fixes of `bytes` fed in pieces of 1 to maxPiece bytes (all at once when 0).
std::string fixesOf(const std::string& bytes, std::size_t maxPiece, unsigned seed) {
    NmeaParser parser;
    parser.setFixCallback(recordFix);
    recorder().clear();
    std::mt19937 random(seed);
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    for (std::size_t at = 0; at < bytes.size();) {
        std::size_t piece = bytes.size() - at;
        if (maxPiece > 0) piece = std::min(piece, 1 + random() % maxPiece);
        parser.feed(data + at, static_cast<std::uint32_t>(piece));
        at += piece;
    }
    std::string all;
    for (const std::string& line : recorder().lines) all += line;
    return all;
}

TEST(LogReplay, CapturesGiveTheReviewedFixesWholeAndInPieces) {
    const std::vector<fs::path> logs = captures();
    ASSERT_GT(logs.size(), 10u);
    std::size_t withFixes = 0;
    for (const fs::path& log : logs) {
        SCOPED_TRACE(log.filename().string());
        const std::string bytes = readFile(log);
        const std::string whole = fixesOf(bytes, 0, 0);
        for (unsigned seed = 1; seed <= 3; ++seed) {
            EXPECT_EQ(fixesOf(bytes, seed == 1 ? 3 : 300, seed), whole) << "seed " << seed;
        }
        const fs::path expected = fs::path(SULCO_SOURCE_DIR) / "tests/gpslink/expected" /
                                  (log.stem().string() + ".fixes");
        if (!fs::exists(expected)) {
            ADD_FAILURE() << "no reviewed fixes: run tests/gpslink/regenerate-expected.sh";
            continue;
        }
        const std::string reviewed = readFile(expected);
        if (reviewed != whole) {
            const fs::path actual =
                fs::path(SULCO_BINARY_DIR) / (log.stem().string() + ".fixes.actual");
            std::ofstream(actual, std::ios::binary) << whole;
            ADD_FAILURE() << "fixes differ from " << expected << "; actual in " << actual;
        }
        if (!whole.empty() || log.filename() == "firefly-II.log") ++withFixes;
    }
    // Every capture gives fixes, the multi-constellation ones too, except the Firefly's: its
    // receiver got every GGA checksum wrong.
    EXPECT_EQ(withFixes, logs.size());
}

// The SiRF TriG capture: GP, GN and GB talkers mixed. Its five GGA sentences (read off the log
// by hand) give one fix each, the last two with a position:
//   053232.438 3114.8789,N 12135.2442,E quality 1, 6 satellites, HDOP 1.2
//   053233.438 3114.8821,N 12135.2428,E quality 1, 6 satellites, HDOP 1.2
TEST(LogReplay, MultiConstellationCaptureGivesFixes) {
    const fs::path log = fs::path(SULCO_SHARED_DIR) / "nmea-logs/beidou-gb.log";
    fixesOf(readFile(log), 0, 0);
    const std::vector<GPS_POSITION> fixes = recorder().fixes;
    ASSERT_EQ(fixes.size(), 5u);
    for (unsigned i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(fixes[i].utcTime.hour, 5);
        EXPECT_EQ(fixes[i].utcTime.minute, 32);
        EXPECT_EQ(fixes[i].utcTime.second, 29 + i);
        // The first three epochs have no position yet.
        EXPECT_EQ(fixes[i].fixQuality, i < 3 ? 0 : 1);
    }
    EXPECT_NEAR(fixes[3].latitude, 31 + 14.8789 / 60, 1e-7);
    EXPECT_NEAR(fixes[3].longitude, 121 + 35.2442 / 60, 1e-7);
    EXPECT_NEAR(fixes[4].latitude, 31 + 14.8821 / 60, 1e-7);
    EXPECT_NEAR(fixes[4].longitude, 121 + 35.2428 / 60, 1e-7);
    for (const GPS_POSITION& fix : {fixes[3], fixes[4]}) {
        EXPECT_EQ(fix.satelliteCount, 6);
        EXPECT_FLOAT_EQ(fix.hdop, 1.2f);
    }
}

// The fuzzer's seeds and any crash input it found, kept in the repository: each goes through
// and gives the same fixes whole and cut into pieces of every small size.
TEST(LogReplay, FuzzerInputsGiveTheSameFixesInAnyPieces) {
    std::vector<fs::path> inputs;
    for (const char* folder : {"tests/fuzz/corpus/nmea", "tests/fuzz/crashes/nmea"}) {
        const fs::path path = fs::path(SULCO_SOURCE_DIR) / folder;
        if (!fs::exists(path)) continue;
        for (const auto& entry : fs::directory_iterator(path)) inputs.push_back(entry.path());
    }
    ASSERT_GE(inputs.size(), 3u) << "the fuzzer's seed corpus is part of the repository";
    std::size_t fixes = 0;
    for (const fs::path& input : inputs) {
        SCOPED_TRACE(input.filename().string());
        const std::string bytes = readFile(input);
        const std::string whole = fixesOf(bytes, 0, 0);
        for (std::size_t piece = 1; piece <= 7; ++piece) {
            EXPECT_EQ(fixesOf(bytes, piece, unsigned(piece)), whole) << "pieces up to " << piece;
        }
        fixes += static_cast<std::size_t>(std::count(whole.begin(), whole.end(), '\n'));
    }
    EXPECT_GT(fixes, 0u) << "the seeds hold GGA sentences";
}

}  // namespace
