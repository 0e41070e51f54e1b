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

TEST(LogReplay, MultiConstellationCaptureGivesFixes) {
    const fs::path log = fs::path(SULCO_SHARED_DIR) / "nmea-logs/beidou-gb.log";
    const std::string fixes = fixesOf(readFile(log), 0, 0);
    EXPECT_NE(fixes.find("\n"), std::string::npos);
}

// Inputs that once upset the parser under the fuzzer: they must still go through quietly.
TEST(LogReplay, KeptFuzzerFindingsGoThrough) {
    const fs::path crashes = fs::path(SULCO_SOURCE_DIR) / "tests/fuzz/crashes/nmea";
    if (!fs::exists(crashes)) GTEST_SKIP() << "no findings kept";
    for (const auto& entry : fs::directory_iterator(crashes)) {
        fixesOf(readFile(entry.path()), 7, 1);
    }
}

}  // namespace
