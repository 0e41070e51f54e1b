// Settings.dat of random bytes, of any length: the program starts, works and exits, and writes
// back a whole file that reads the same again.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "IsolatedRun.h"
#include "ProgramHarness.h"
#include "Receiver.h"
#include "app/SettingsFile.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

struct Damage {
    const char* name;
    std::size_t size;
    int fill;  // -1: random bytes
};

const Damage kDamages[] = {
    {"empty", 0, -1},      {"one_byte", 1, -1}, {"half", 150, -1},       {"one_short", 302, -1},
    {"one_long", 304, -1}, {"long", 4096, -1},  {"all_ones", 303, 0xFF},
};

std::vector<std::uint8_t> damagedBytes(const Damage& d) {
    std::mt19937 random(unsigned(d.size) * 31 + 5);
    std::vector<std::uint8_t> bytes(d.size);
    for (auto& b : bytes) b = d.fill < 0 ? std::uint8_t(random()) : std::uint8_t(d.fill);
    return bytes;
}

std::vector<std::uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

class SettingsFault : public ::testing::TestWithParam<Damage> {};

}  // namespace

TEST_P(SettingsFault, TheProgramStartsWorksAndWritesAWholeFile) {
    if (!isolatedRun()) return;
    const std::string dir = privateFolder();
    {
        const auto bytes = damagedBytes(GetParam());
        std::ofstream out(dir + "/Settings.dat", std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    SimulatedReceiver receiver(dir + "/gps");
    ASSERT_TRUE(receiver.plugIn({"--rate", "10", "--speed", "72"}));
    RunningProgram program;
    ASSERT_TRUE(program.open(receiver.link()));
    // What the program cannot work with has been put right.
    EXPECT_GE(appState.settings.reviewStep, 1);
    EXPECT_LT(appState.settings.vehicleScaleIndex, 5);
    EXPECT_TRUE(std::isfinite(appState.settings.zoom) && appState.settings.zoom > 0);
    EXPECT_EQ(appState.settings.implementWidth,
              std::uint16_t(2 * appState.settings.implementHalfWidth));

    // A work with whatever widths, thresholds and colours the bytes gave.
    program.tap(appState.layout.btnStartAB);
    ASSERT_TRUE(program.reaches(kStateSettingAB, 40s));
    runEventsFor(1000ms);
    program.tapMap();
    runEventsFor(1000ms);
    program.tapMap();
    runEventsFor(1000ms);
    program.tap(appState.layout.btnZoomIn);
    runEventsFor(500ms);
    program.tap(appState.layout.btnFinish);
    program.tap(appState.layout.btnYes);
    program.tap(appState.layout.btnNo);
    EXPECT_EQ(program.state(), kStateStart);
    EXPECT_TRUE(program.exitByButtons());
    program.close();

    // A whole file, which loads and saves to the same bytes.
    const auto written = fileBytes(dir + "/Settings.dat");
    ASSERT_EQ(written.size(), kSettingsFileSize);
    decodeSettings(written.data(), written.size());
    std::uint8_t again[kSettingsFileSize];
    encodeSettings(again);
    EXPECT_TRUE(std::equal(written.begin(), written.end(), again));
}

INSTANTIATE_TEST_SUITE_P(Files, SettingsFault, ::testing::ValuesIn(kDamages),
                         [](const auto& info) { return std::string(info.param.name); });
