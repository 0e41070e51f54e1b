// sulcovane.conf's [corrections]: where it lives, that only its owner may read it, what a
// missing or odd file gives, and how --ntrip lays itself over it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QSettings>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "app/AppState.h"
#include "app/ConfigFile.h"
#include "app/Corrections.h"
#include "app/CorrectionsConfig.h"
#include "app/SettingsFile.h"
#include "corrections/NtripUrl.h"

namespace {

namespace fs = std::filesystem;

class CorrectionsConfigTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::strcpy(saved, appState.layout.moduleDir);
        dir = fs::temp_directory_path() / ("sulco-conf-" + std::to_string(getpid()));
        fs::create_directories(dir);
        std::snprintf(appState.layout.moduleDir, sizeof appState.layout.moduleDir, "%s/",
                      dir.c_str());
    }
    void TearDown() override {
        clearCorrectionsOverride();
        reloadCorrectionsSettings();
        std::strcpy(appState.layout.moduleDir, saved);
        fs::remove_all(dir);
    }
    fs::path dir;
    char saved[sizeof appState.layout.moduleDir] = {};
};

TEST_F(CorrectionsConfigTest, BesideSettingsDatOwnerOnlyAndReadBack) {
    EXPECT_EQ(configPath(), (dir / "sulcovane.conf").string());
    EXPECT_EQ(fs::path(configPath()).parent_path(), fs::path(settingsPath()).parent_path());

    const NtripSettings none = loadCorrectionsConfig();  // no file: off, port 2101, NTRIP 2
    EXPECT_FALSE(none.on);
    EXPECT_EQ(none.port, 2101);
    EXPECT_EQ(none.version, 2);
    EXPECT_FALSE(fs::exists(configPath()));  // reading makes no file

    NtripSettings s;
    s.on = true;
    s.caster = "rtk2go.example";
    s.port = 2102;
    s.mountpoint = "FARM_BASE";
    s.user = "me@example.org";
    s.password = "a;b=c #d";
    s.version = 1;
    ASSERT_TRUE(saveCorrectionsConfig(s));
    struct stat st {};
    ASSERT_EQ(::stat(configPath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(loadCorrectionsConfig(), s);

    // Another section in the same file (the screen's) is kept by a save of ours.
    {
        QSettings other(QString::fromStdString(configPath()), QSettings::IniFormat);
        other.setValue("screen/scale", 2);
    }
    ASSERT_TRUE(saveCorrectionsConfig(s));
    QSettings check(QString::fromStdString(configPath()), QSettings::IniFormat);
    EXPECT_EQ(check.value("screen/scale").toInt(), 2);
    EXPECT_EQ(check.value("corrections/version").toInt(), 1);
    EXPECT_EQ(check.value("corrections/mountpoint").toString(), "FARM_BASE");
}

TEST_F(CorrectionsConfigTest, OddValuesAndTheCommandLineOnTop) {
    std::ofstream(dir / "sulcovane.conf") << "[corrections]\non=true\ncaster=file.example\n"
                                             "port=99999\nversion=7\nmountpoint=FILE\n"
                                             "user=fileuser\n";
    NtripSettings s = loadCorrectionsConfig();
    EXPECT_TRUE(s.on);
    EXPECT_EQ(s.port, 2101);  // out of range: the default
    EXPECT_EQ(s.version, 2);  // only 1 asks for the old protocol
    NtripSettings line;
    std::string error;
    ASSERT_TRUE(parseNtripUrl("ntrip://cli:pw@127.0.0.1:2999/CLI", line, error));
    std::ofstream(dir / "sulcovane.conf", std::ios::app) << "on=false\n";
    reloadCorrectionsSettings();
    EXPECT_FALSE(correctionsSettings().on);
    setCorrectionsOverride(line);
    const NtripSettings effective = correctionsSettings();
    EXPECT_TRUE(effective.on);
    EXPECT_EQ(effective.caster, "127.0.0.1");
    EXPECT_EQ(effective.port, 2999);
    EXPECT_EQ(effective.mountpoint, "CLI");
    EXPECT_EQ(effective.user, "cli");
    EXPECT_EQ(effective.password, "pw");
    EXPECT_EQ(effective.version, 2);  // the file's
}

}  // namespace
