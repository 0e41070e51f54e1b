// Settings.dat byte for byte: what a whole, a short and an odd file restore, what a save writes,
// and where the file lives.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <limits>
#include <vector>

#include "app/AppState.h"
#include "app/BackgroundWrites.h"
#include "app/SettingsFile.h"
#include "platform/HeadlessPlatform.h"

namespace {

namespace fs = std::filesystem;

// Every setting back at the value it has when no file exists.
void resetSettings() {
    appState.settings = StoredSettings{};
}

// A file image built from the documented offsets, independently of the program's writer.
class FileImage {
  public:
    FileImage() : bytes_(kSettingsFileSize, 0) {}
    template <typename T>
    FileImage& put(std::size_t offset, T value) {
        std::memcpy(&bytes_[offset], &value, sizeof(T));  // the test machine is little-endian
        return *this;
    }
    std::vector<std::uint8_t> first(std::size_t n) const {
        return {bytes_.begin(), bytes_.begin() + std::ptrdiff_t(n)};
    }
    const std::vector<std::uint8_t>& all() const { return bytes_; }

  private:
    std::vector<std::uint8_t> bytes_;
};

// A file in which every field has a value other than its initial one.
FileImage distinctFile() {
    FileImage f;
    f.put<std::uint16_t>(0, 125).put<std::uint16_t>(2, 17).put<std::uint32_t>(4, 0x00112233);
    for (int i = 0; i < 16; ++i) f.put<std::uint32_t>(8 + 4 * i, 0x00010000u + i);
    f.put<std::uint32_t>(72, 0x00445566);
    for (int i = 0; i < 16; ++i) f.put<std::uint32_t>(76 + 4 * i, 0x00020000u + i);
    for (int i = 0; i < 32; ++i) f.put<std::uint16_t>(140 + 2 * i, std::uint16_t(1000 + i));
    f.put<std::uint8_t>(206, 7).put<std::uint8_t>(207, 1).put<std::int8_t>(208, 3);
    f.put<std::uint8_t>(209, 6).put<float>(210, 5.5f).put<double>(214, 2.25);
    f.put<std::int16_t>(222, 12).put<double>(224, 4.75).put<std::uint8_t>(232, 4);
    f.put<std::uint32_t>(233, 0x00778899);
    for (int i = 0; i < 16; ++i) f.put<std::uint32_t>(237 + 4 * i, 0x00030000u + i);
    f.put<std::uint8_t>(301, 0).put<std::uint8_t>(302, 0);
    return f;
}

void decode(const std::vector<std::uint8_t>& bytes) {
    decodeSettings(bytes.data(), bytes.size());
}

std::vector<std::uint8_t> encoded() {
    std::uint8_t bytes[kSettingsFileSize];
    encodeSettings(bytes);
    return {std::begin(bytes), std::end(bytes)};
}

class SettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override { resetSettings(); }
    void TearDown() override { resetSettings(); }
};

TEST_F(SettingsFileTest, WholeFileRestoresEverySettingAndComesBackUnchanged) {
    FileImage file = distinctFile();
    decode(file.all());
    const AppState& s = appState;
    EXPECT_EQ(s.settings.implementHalfWidth, 125);
    EXPECT_EQ(s.settings.implementWidth, 250);  // 2.50 m implement
    EXPECT_EQ(s.settings.arrowTolerance, 17);
    EXPECT_EQ(s.settings.trackColor, 0x00112233u);
    EXPECT_EQ(s.settings.customColors[kCustomTrack][15], 0x0001000Fu);
    EXPECT_EQ(s.settings.backgroundColor, 0x00445566u);
    EXPECT_EQ(s.settings.customColors[kCustomBackground][0], 0x00020000u);
    EXPECT_EQ(s.settings.reservedBlock[31], 1031);
    EXPECT_EQ(s.settings.reviewStep, 7);
    EXPECT_EQ(s.settings.useWindowsGps, 1);
    EXPECT_EQ(s.settings.gpsPort, 3);
    EXPECT_EQ(s.settings.gpsBaudIndex, 6);
    EXPECT_EQ(s.settings.zoom, 5.5f);
    EXPECT_EQ(s.settings.speedThreshold, 2.25);
    EXPECT_EQ(s.settings.distanceThreshold, 12);
    EXPECT_EQ(s.settings.distanceThresholdSquared, 144);
    EXPECT_EQ(s.settings.hdopThreshold, 4.75);
    EXPECT_EQ(s.settings.vehicleScaleIndex, 4);
    EXPECT_EQ(s.settings.textColor, 0x00778899u);
    EXPECT_EQ(s.settings.customColors[kCustomText][7], 0x00030007u);
    EXPECT_EQ(s.settings.showVehicle, 0);
    EXPECT_EQ(s.settings.showGuideNumbers, 0);

    EXPECT_EQ(encoded(), file.all());
}

TEST_F(SettingsFileTest, InitialSettingsAreWrittenAtTheDocumentedOffsets) {
    std::vector<std::uint8_t> bytes = encoded();
    ASSERT_EQ(bytes.size(), 303u);
    auto at = [&](std::size_t offset, std::size_t n) {
        return std::vector<std::uint8_t>(bytes.begin() + std::ptrdiff_t(offset),
                                         bytes.begin() + std::ptrdiff_t(offset + n));
    };
    using B = std::vector<std::uint8_t>;
    EXPECT_EQ(at(0, 4), (B{0x58, 0x02, 0x0A, 0x00}));          // 600 cm, 10 dm
    EXPECT_EQ(at(4, 4), (B{0xFB, 0xEF, 0x84, 0x00}));          // track colour
    EXPECT_EQ(at(72, 4), (B{0xA0, 0xC9, 0x25, 0x00}));         // background colour
    EXPECT_EQ(at(206, 4), (B{0x01, 0x00, 0xFF, 0xFF}));        // step, GPS choice, port, baud
    EXPECT_EQ(at(210, 4), (B{0x00, 0x00, 0x40, 0x40}));        // zoom 3.0f
    EXPECT_EQ(at(222, 2), (B{0x05, 0x00}));                    // 5 dm
    EXPECT_EQ(at(232, 5), (B{0x00, 0x00, 0x00, 0xFF, 0x00}));  // scale, text colour
    EXPECT_EQ(at(301, 2), (B{0x01, 0x01}));
}

TEST_F(SettingsFileTest, ShortFileRestoresOnlyTheFieldsItHoldsWhole) {
    decode(distinctFile().first(206));
    const AppState& s = appState;
    // Implement, tolerance, track and background colours with their sets, the reserved block.
    EXPECT_EQ(s.settings.implementWidth, 250);
    EXPECT_EQ(s.settings.arrowTolerance, 17);
    EXPECT_EQ(s.settings.trackColor, 0x00112233u);
    EXPECT_EQ(s.settings.backgroundColor, 0x00445566u);
    EXPECT_EQ(s.settings.customColors[kCustomBackground][15], 0x0002000Fu);
    EXPECT_EQ(s.settings.reservedBlock[0], 1000);
    // Everything after keeps its initial value.
    EXPECT_EQ(s.settings.reviewStep, 1);
    EXPECT_EQ(s.settings.gpsPort, -1);
    EXPECT_EQ(s.settings.zoom, 3.0f);
    EXPECT_EQ(s.settings.hdopThreshold, 2.5);
    EXPECT_EQ(s.settings.textColor, 0x00FF0000u);
    EXPECT_EQ(s.settings.customColors[kCustomText][0], 0x8EC7F0u);
    EXPECT_EQ(s.settings.showVehicle, 1);
    EXPECT_EQ(s.settings.distanceThresholdSquared, 25);
}

TEST_F(SettingsFileTest, FieldCutByTheEndOfTheFileIsNotHalfRead) {
    // 212 bytes hold two of the zoom's four bytes; 100 bytes hold part of a colour set.
    decode(distinctFile().first(212));
    EXPECT_EQ(appState.settings.gpsBaudIndex, 6);
    EXPECT_EQ(appState.settings.zoom, 3.0f);
    resetSettings();
    decode(distinctFile().first(100));
    EXPECT_EQ(appState.settings.backgroundColor, 0x00445566u);
    EXPECT_EQ(appState.settings.customColors[kCustomBackground][0], 0x8EC7F0u);
}

TEST_F(SettingsFileTest, LoadingCorrectsOnlyWhatWouldBreakTheProgram) {
    struct Case {
        const char* what;
        void (*poke)(FileImage&);
        bool (*expect)();
    };
    const Case cases[] = {
        {"review step 0 becomes 1", [](FileImage& f) { f.put<std::uint8_t>(206, 0); },
         [] { return appState.settings.reviewStep == 1; }},
        {"vehicle scale 5 is past the table", [](FileImage& f) { f.put<std::uint8_t>(232, 5); },
         [] { return appState.settings.vehicleScaleIndex == 0; }},
        {"vehicle scale 255", [](FileImage& f) { f.put<std::uint8_t>(232, 255); },
         [] { return appState.settings.vehicleScaleIndex == 0; }},
        {"zoom NaN",
         [](FileImage& f) { f.put<float>(210, std::numeric_limits<float>::quiet_NaN()); },
         [] { return appState.settings.zoom == 3.0f; }},
        {"zoom infinite",
         [](FileImage& f) { f.put<float>(210, std::numeric_limits<float>::infinity()); },
         [] { return appState.settings.zoom == 3.0f; }},
        {"zoom 0", [](FileImage& f) { f.put<float>(210, 0.0f); },
         [] { return appState.settings.zoom == 3.0f; }},
        {"zoom negative", [](FileImage& f) { f.put<float>(210, -2.0f); },
         [] { return appState.settings.zoom == 3.0f; }},
        {"a small zoom is kept", [](FileImage& f) { f.put<float>(210, 0.18f); },
         [] { return appState.settings.zoom == 0.18f; }},
        {"the largest zoom the buttons reach is kept",
         [](FileImage& f) { f.put<float>(210, 14.3f); },
         [] { return appState.settings.zoom == 14.3f; }},
        {"zoom 1e9 would crash every start", [](FileImage& f) { f.put<float>(210, 1e9f); },
         [] { return appState.settings.zoom == 3.0f; }},
        {"zoom 100 would allocate gigabytes", [](FileImage& f) { f.put<float>(210, 100.0f); },
         [] { return appState.settings.zoom == 3.0f; }},
        {"zoom too small to see", [](FileImage& f) { f.put<float>(210, 1e-30f); },
         [] { return appState.settings.zoom == 3.0f; }},
        {"speed threshold NaN",
         [](FileImage& f) { f.put<double>(214, std::numeric_limits<double>::quiet_NaN()); },
         [] { return appState.settings.speedThreshold == 1.0; }},
        {"speed threshold beyond the slider", [](FileImage& f) { f.put<double>(214, 1e300); },
         [] { return appState.settings.speedThreshold == 1.0; }},
        {"speed threshold 50 km/h is kept",
         [](FileImage& f) { f.put<double>(214, 50 * 0.5399568034557235); },
         [] { return appState.settings.speedThreshold == 50 * 0.5399568034557235; }},
        {"HDOP threshold infinite",
         [](FileImage& f) { f.put<double>(224, -std::numeric_limits<double>::infinity()); },
         [] { return appState.settings.hdopThreshold == 2.5; }},
        {"HDOP threshold negative", [](FileImage& f) { f.put<double>(224, -0.5); },
         [] { return appState.settings.hdopThreshold == 2.5; }},
        {"HDOP threshold 10 is kept", [](FileImage& f) { f.put<double>(224, 10.0); },
         [] { return appState.settings.hdopThreshold == 10.0; }},
        {"distance threshold squared wraps to 16 bits",
         [](FileImage& f) { f.put<std::int16_t>(222, 300); },
         [] { return appState.settings.distanceThresholdSquared == std::uint16_t(90000); }},
        {"a half width whose double wraps the width",
         [](FileImage& f) { f.put<std::uint16_t>(0, 40000); },
         [] {
             return appState.settings.implementHalfWidth == 600 &&
                    appState.settings.implementWidth == 1200;
         }},
        {"the widest implement the page sets is kept",
         [](FileImage& f) { f.put<std::uint16_t>(0, 32750); },
         [] {
             return appState.settings.implementHalfWidth == 32750 &&
                    appState.settings.implementWidth == 65500;
         }},
        {"odd values elsewhere are kept", [](FileImage& f) { f.put<std::uint8_t>(301, 77); },
         [] { return appState.settings.showVehicle == 77; }},
    };
    for (const Case& c : cases) {
        resetSettings();
        FileImage file = distinctFile();
        c.poke(file);
        decode(file.all());
        EXPECT_TRUE(c.expect()) << c.what;
        // The other fields are untouched by the correction.
        EXPECT_EQ(appState.settings.arrowTolerance, 17) << c.what;
    }
}

TEST_F(SettingsFileTest, LastReservedUnitIsClearedAndSavedAsZero) {
    FileImage file = distinctFile();
    file.put<std::uint16_t>(140 + 64, 0xBEEF);
    decode(file.all());
    EXPECT_EQ(appState.settings.reservedBlock[32], 0);
    EXPECT_EQ(appState.settings.reservedBlock[31], 1031);
    std::vector<std::uint8_t> saved = encoded();
    EXPECT_EQ(saved[204], 0);
    EXPECT_EQ(saved[205], 0);
    file.put<std::uint16_t>(140 + 64, 0);
    EXPECT_EQ(saved, file.all());
}

// The file itself: where it lives, what a missing one leaves, what a save writes.
class SettingsLocationTest : public SettingsFileTest {
  protected:
    void SetUp() override {
        SettingsFileTest::SetUp();
        char pattern[] = "/tmp/sulco-settings-XXXXXX";
        root_ = mkdtemp(pattern);
        std::strcpy(savedModuleDir_, appState.layout.moduleDir);
        const char* config = std::getenv("XDG_CONFIG_HOME");
        hadConfig_ = config != nullptr;
        if (config) savedConfig_ = config;
        setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
    }
    void TearDown() override {
        std::strcpy(appState.layout.moduleDir, savedModuleDir_);
        if (hadConfig_)
            setenv("XDG_CONFIG_HOME", savedConfig_.c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        fs::remove_all(root_);
        SettingsFileTest::TearDown();
    }
    void setModuleDir(const fs::path& dir) {
        std::snprintf(appState.layout.moduleDir, sizeof(appState.layout.moduleDir), "%s/",
                      dir.c_str());
    }
    static std::vector<std::uint8_t> readFile(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path root_;
    char savedModuleDir_[sizeof(appState.layout.moduleDir)] = {};
    bool hadConfig_ = false;
    std::string savedConfig_;
};

TEST_F(SettingsLocationTest, BesideTheProgramWhenItsFolderIsWritable) {
    fs::create_directories(root_ / "bin");
    setModuleDir(root_ / "bin");
    EXPECT_EQ(settingsPath(), (root_ / "bin" / "Settings.dat").string());

    // No file yet: the initial values stay, and the next save creates it.
    appState.settings.arrowTolerance = 99;
    loadSettings();
    EXPECT_EQ(appState.settings.arrowTolerance, 99);
    EXPECT_EQ(appState.settings.implementWidth, 1200);
    saveSettings();
    finishBackgroundWrites();
    EXPECT_EQ(readFile(root_ / "bin" / "Settings.dat"), encoded());
}

TEST_F(SettingsLocationTest, InTheConfigFolderWhenTheProgramsFolderIsNotWritable) {
    setModuleDir(root_ / "no-such-folder");
    fs::path expected = root_ / "config" / "sulcovane" / "Settings.dat";
    EXPECT_EQ(settingsPath(), expected.string());

    appState.settings.implementHalfWidth = 125;
    saveSettings();  // creates the folder
    finishBackgroundWrites();
    ASSERT_TRUE(fs::exists(expected));
    EXPECT_EQ(fs::file_size(expected), 303u);

    // Read back from the same place.
    resetSettings();
    loadSettings();
    EXPECT_EQ(appState.settings.implementWidth, 250);
}

// A full disk, as a file-size limit in a child process: the save fails, says so, and leaves the
// old file whole and no temporary file behind.
TEST_F(SettingsLocationTest, AFailedSaveKeepsTheOldFileWhole) {
    fs::create_directories(root_ / "bin");
    setModuleDir(root_ / "bin");
    appState.settings.implementHalfWidth = 321;
    ASSERT_TRUE(writeSettingsFile());
    const auto before = readFile(root_ / "bin" / "Settings.dat");
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit full{0, RLIM_INFINITY};
        getrlimit(RLIMIT_FSIZE, &full);
        full.rlim_cur = 100;
        setrlimit(RLIMIT_FSIZE, &full);
        appState.settings.implementHalfWidth = 555;
        if (writeSettingsFile()) _exit(1);
        // Saved at the driver's request, the failure is put in front of him.
        platform::HeadlessPlatform screen;
        platform::install(&screen);
        saveSettings();
        finishBackgroundWrites();
        showBackgroundWriteFailure();
        const auto boxes = screen.messages();
        _exit(boxes.size() == 1 &&
                      std::string(boxes[0]).find("could not be saved") != std::string::npos
                  ? 0
                  : 2);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the save reported success; 2: the driver was not told";
    EXPECT_EQ(readFile(root_ / "bin" / "Settings.dat"), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(root_ / "bin"), fs::directory_iterator()), 1);
}

TEST_F(SettingsLocationTest, UnchangedFileIsRewrittenByteForByte) {
    fs::create_directories(root_ / "bin");
    setModuleDir(root_ / "bin");
    std::vector<std::uint8_t> original = distinctFile().all();
    {
        std::ofstream out(root_ / "bin" / "Settings.dat", std::ios::binary);
        out.write(reinterpret_cast<const char*>(original.data()), std::streamsize(original.size()));
    }
    loadSettings();
    saveSettings();
    finishBackgroundWrites();
    EXPECT_EQ(readFile(root_ / "bin" / "Settings.dat"), original);
}

// The driver's OK never waits for the disk: here the new file is a pipe that nobody reads, on
// which the write blocks until the test reads it. What comes out is the settings of the moment
// of the OK, not those changed after it.
TEST_F(SettingsLocationTest, SavingReturnsAtOnceAndWritesTheSettingsOfThatMoment) {
    fs::create_directories(root_ / "bin");
    setModuleDir(root_ / "bin");
    const std::string pipe = (root_ / "bin" / "Settings.dat.new").string();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    appState.settings.implementHalfWidth = 432;
    const std::vector<std::uint8_t> atOk = encoded();
    auto saving = std::async(std::launch::async, [] { saveSettings(); });
    const bool returned = saving.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    appState.settings.implementHalfWidth = 111;
    // Reading lets the blocked write go on (and lets a save that did wait return).
    const int reader = open(pipe.c_str(), O_RDONLY);
    ASSERT_GE(reader, 0);
    std::vector<std::uint8_t> written(kSettingsFileSize + 1);
    std::size_t got = 0;
    for (ssize_t n; (n = read(reader, written.data() + got, written.size() - got)) > 0;)
        got += std::size_t(n);
    close(reader);
    saving.wait();
    finishBackgroundWrites();
    EXPECT_TRUE(returned) << "the save waited for the disk";
    written.resize(got);
    EXPECT_EQ(written, atOk);
    // A pipe cannot be synced: the write failed, and the driver is told at the next paint.
    platform::HeadlessPlatform screen;
    platform::install(&screen);
    showBackgroundWriteFailure();
    showBackgroundWriteFailure();
    EXPECT_EQ(screen.messages().size(), 1u);
    platform::install(nullptr);
}

}  // namespace
