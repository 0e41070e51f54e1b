// sulcovane.conf's [sections]: what odd values in a hand-edited file read as, that a save reads
// back as it was under a German numeric locale, and the sections used when the implement width
// no longer matches the typed widths.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QSettings>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "app/AppState.h"
#include "app/BackgroundWrites.h"
#include "app/ConfigFile.h"
#include "app/SectionConfig.h"

namespace {

namespace fs = std::filesystem;

class SectionConfigTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::strcpy(saved, appState.layout.moduleDir);
        dir = fs::temp_directory_path() / ("sulco-sections-" + std::to_string(getpid()));
        fs::create_directories(dir);
        std::snprintf(appState.layout.moduleDir, sizeof appState.layout.moduleDir, "%s/",
                      dir.c_str());
        sectionConfig = SectionConfig{};
    }
    void TearDown() override {
        std::setlocale(LC_NUMERIC, "C");
        sectionConfig = SectionConfig{};
        std::strcpy(appState.layout.moduleDir, saved);
        fs::remove_all(dir);
    }
    // Each file in a folder of its own: QSettings keeps what it read of a path and reads it
    // again only when its size or time changed, which two quick writes may not show.
    void writeConf(const std::string& lines) {
        const fs::path folder = dir / std::to_string(++files);
        fs::create_directories(folder);
        std::snprintf(appState.layout.moduleDir, sizeof appState.layout.moduleDir, "%s/",
                      folder.c_str());
        std::ofstream(folder / "sulcovane.conf") << "[sections]\n" << lines << "\n";
    }
    int files = 0;
    fs::path dir;
    char saved[sizeof appState.layout.moduleDir] = {};
};

}  // namespace

TEST_F(SectionConfigTest, OddValuesReadAsTheNearestEndOrTheInitialValue) {
    using Get = std::function<double(const SectionConfig&)>;
    const Get count = [](const SectionConfig& c) { return c.count; };
    const Get on = [](const SectionConfig& c) { return c.turnOnS; };
    const Get off = [](const SectionConfig& c) { return c.turnOffS; };
    const Get cover = [](const SectionConfig& c) { return c.coveragePercent; };
    const Get speed = [](const SectionConfig& c) { return c.minSpeedKmh; };
    const Get headland = [](const SectionConfig& c) { return c.headlandOff ? 1 : 0; };
    const struct {
        const char* line;
        const Get& field;
        double expected;
    } cases[] = {
        {"count=-3", count, 1},        {"count=1000", count, 64},
        {"count=1e400", count, 64},    {"count=NaN", count, 1},
        {"count=2.5", count, 1},       {"count=\" 12 \"", count, 12},
        {"turn_on=-2", on, 0},         {"turn_on=1e400", on, 15},
        {"turn_on=0,5", on, 0},        {"turn_on=1.33", on, 1.35},
        {"turn_on=nan", on, 0},        {"turn_off=99999999999", off, 15},
        {"turn_off=-1e400", off, 0},   {"turn_off=0.724", off, 0.70},
        {"turn_off=inf", off, 0},      {"coverage=-40", cover, 0},
        {"coverage=250", cover, 100},  {"coverage=NaN", cover, 100},
        {"coverage=37,5", cover, 100}, {"coverage=37.5", cover, 37.5},
        {"min_speed=-5", speed, 0},    {"min_speed=1e400", speed, 50},
        {"min_speed=2,5", speed, 1},   {"min_speed=fast", speed, 1},
        {"min_speed=3.5", speed, 3.5}, {"headland=TRUE", headland, 1},
        {"headland=yes", headland, 0}, {"headland=1e400", headland, 0},
    };
    // Qt's conversions must not follow a comma-decimal C locale.
    const bool german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    for (const auto& c : cases) {
        sectionConfig = SectionConfig{};
        sectionConfig.count = 7;  // a read sets every key: a missing one gets its initial value
        writeConf(c.line);
        loadSectionConfig();
        EXPECT_NEAR(c.field(sectionConfig), c.expected, 1e-9) << c.line << " german " << german;
    }
    writeConf("count=4\nwidths=100, 150,150 ,100\noutput=/dev/ttyACM0?baud=115200\njunk=1");
    loadSectionConfig();
    EXPECT_EQ(sectionConfig.count, 4);
    EXPECT_EQ(sectionConfig.widths, "100,150,150,100") << "an unquoted list is one text";
    EXPECT_EQ(sectionConfig.output, "/dev/ttyACM0?baud=115200");
    EXPECT_EQ(sectionConfig.turnOnS, 0.0);
    EXPECT_EQ(sectionConfig.coveragePercent, 100.0);
    EXPECT_EQ(sectionConfig.minSpeedKmh, 1.0);
    EXPECT_FALSE(sectionConfig.headlandOff);
}

TEST_F(SectionConfigTest, ASaveReadsBackAndKeepsTheOtherSections) {
    writeConf("count=9\n[screen]\npalette=night");
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);
    SectionConfig written;
    written.count = 3;
    written.widths = "250, 300, 250";
    written.turnOnS = 1.35;
    written.turnOffS = 0.05;
    written.coveragePercent = 62.5;
    written.minSpeedKmh = 0.8;
    written.headlandOff = true;
    written.output = "udp://192.168.5.123:8888";
    sectionConfig = written;
    saveSectionConfig();
    finishBackgroundWrites();
    sectionConfig = SectionConfig{};
    loadSectionConfig();
    EXPECT_EQ(sectionConfig, written);
    std::ifstream file(configPath());
    const std::string text{std::istreambuf_iterator<char>(file), {}};
    EXPECT_NE(text.find("turn_on=1.35\n"), std::string::npos) << text;
    EXPECT_NE(text.find("coverage=62.5\n"), std::string::npos) << text;
    EXPECT_NE(text.find("palette=night"), std::string::npos) << text;
}

TEST_F(SectionConfigTest, WidthsThatNoLongerAddUpGiveOneSectionAndSayWhy) {
    sectionConfig.count = 3;
    sectionConfig.widths = "250,300,250";
    std::string problem = "old";
    SectionLayout layout = sectionLayoutNow(800, &problem);
    EXPECT_EQ(layout.widthsCm, std::vector<int>({250, 300, 250}));
    EXPECT_EQ(problem, "");

    layout = sectionLayoutNow(1200, &problem);
    EXPECT_EQ(layout.widthsCm, std::vector<int>({1200}));
    EXPECT_EQ(layout.implementWidthCm, 1200);
    EXPECT_EQ(problem,
              "the section widths add up to 800 cm, the implement is 1200 cm: one section of the "
              "whole implement");

    sectionConfig.widths.clear();
    layout = sectionLayoutNow(1201, &problem);
    EXPECT_EQ(layout.widthsCm, std::vector<int>({401, 400, 400}));
    EXPECT_EQ(problem, "");
    layout = sectionLayoutNow(2, &problem);
    EXPECT_EQ(layout.widthsCm, std::vector<int>({2}));
    EXPECT_NE(problem.find("cannot hold 3 sections"), std::string::npos) << problem;

    // One section is the implement whatever its width, as before there were sections.
    sectionConfig.count = 1;
    layout = sectionLayoutNow(0, &problem);
    EXPECT_EQ(layout.widthsCm, std::vector<int>({0}));
    EXPECT_EQ(problem, "");
}
