// The Corrections page: the mountpoints of a caster's source table (a caster of the tests' own
// on 127.0.0.1) offered nearest first, and what OK stores in sulcovane.conf.
#include <sys/stat.h>
#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <cstring>
#include <filesystem>

#include "SheetHarness.h"
#include "app/AppState.h"
#include "app/BackgroundWrites.h"
#include "app/ConfigFile.h"
#include "app/Corrections.h"
#include "tests/support/TestCaster.h"

namespace {

namespace fs = std::filesystem;

enum : int {
    kOn = 1040,
    kCaster = 1041,
    kPort = 1042,
    kMountpoint = 1043,
    kList = 1044,
    kUser = 1045,
    kPassword = 1046,
    kVersion = 1047,
    kStatus = 1048
};

// The program's folder, for the test: sulcovane.conf lands here.
class ConfigFolder {
  public:
    ConfigFolder() {
        std::strcpy(saved, appState.layout.moduleDir);
        dir = fs::temp_directory_path() / ("sulco-page-" + std::to_string(getpid()));
        fs::create_directories(dir);
        std::snprintf(appState.layout.moduleDir, sizeof appState.layout.moduleDir, "%s/",
                      dir.c_str());
        reloadCorrectionsSettings();
    }
    ~ConfigFolder() {
        std::strcpy(appState.layout.moduleDir, saved);
        fs::remove_all(dir);
        reloadCorrectionsSettings();
    }
    fs::path dir;

  private:
    char saved[sizeof appState.layout.moduleDir] = {};
};

}  // namespace

TEST_F(SheetTest, CorrectionsPageListsMountpointsNearestFirstAndStoresItsSettings) {
    ConfigFolder folder;
    TestCaster caster([](TestCaster&, int fd, const std::string& request) {
        if (request.rfind("GET / ", 0) != 0) return;
        TestCaster::send(
            fd,
            "SOURCETABLE 200 OK\r\nContent-Type: text/plain\r\n\r\n"
            "STR;MADRID;Madrid;RTCM 3.2;;2;GPS;N;ESP;40.42;-3.70;0;0;x;none;B;N;1;\r\n"
            "STR;FREISING;Freising;RTCM 3.3;;2;GPS;N;DEU;48.40;11.74;0;0;x;none;B;N;1;\r\n"
            "STR;WIEN;Wien;RTCM 3.3;;2;GPS;N;AUT;48.21;16.37;0;0;x;none;B;N;1;\r\n"
            "ENDSOURCETABLE\r\n");
    });
    GPS_POSITION munich{};
    munich.latitude = 48.14;
    munich.longitude = 11.58;
    munich.fixQuality = 1;
    rememberFixForCaster(munich);

    open(kStateStart);
    show("Corrections");
    type(kCaster, "127.0.0.1");
    type(kPort, QString::number(caster.port));
    control<QPushButton>(kList)->click();
    auto* mountpoints = control<QComboBox>(kMountpoint);
    for (int i = 0; i < 250 && mountpoints->count() == 0; ++i) QTest::qWait(20);
    ASSERT_EQ(mountpoints->count(), 3) << control<QLabel>(kStatus)->text().toStdString();
    // 0.26° north (28.9 km) and 0.16° east (11.9 km at this latitude): 31 km.
    EXPECT_EQ(mountpoints->itemText(0), "FREISING  (Freising, 31 km)");
    EXPECT_TRUE(mountpoints->itemText(1).startsWith("WIEN  (Wien, 35"));
    EXPECT_TRUE(mountpoints->itemText(2).startsWith("MADRID"));
    EXPECT_EQ(control<QLabel>(kStatus)->text(), "3 mountpoints, nearest first");

    control<QCheckBox>(kOn)->setChecked(true);
    type(kUser, "farmer");
    type(kPassword, "s3cret");
    control<QComboBox>(kVersion)->setCurrentIndex(0);
    tapOk();
    EXPECT_TRUE(sheetClosed());
    finishBackgroundWrites();
    struct stat st {};
    ASSERT_EQ(::stat(configPath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    QSettings file(QString::fromStdString(configPath()), QSettings::IniFormat);
    EXPECT_EQ(file.value("corrections/on").toBool(), true);
    EXPECT_EQ(file.value("corrections/caster").toString(), "127.0.0.1");
    EXPECT_EQ(file.value("corrections/port").toInt(), caster.port);
    EXPECT_EQ(file.value("corrections/mountpoint").toString(), "FREISING");
    EXPECT_EQ(file.value("corrections/user").toString(), "farmer");
    EXPECT_EQ(file.value("corrections/password").toString(), "s3cret");
    EXPECT_EQ(file.value("corrections/version").toInt(), 1);
    rememberFixForCaster(GPS_POSITION{});
}

TEST_F(SheetTest, CorrectionsOnWithoutACasterStaysOpen) {
    ConfigFolder folder;
    open(kStateStart);
    show("Corrections");
    control<QCheckBox>(kOn)->setChecked(true);
    tapOk();
    EXPECT_FALSE(sheetClosed());
    EXPECT_EQ(control<QLabel>(kStatus)->text(), "Enter the caster's name first");
    EXPECT_FALSE(fs::exists(configPath()));
    tapCancel();
    EXPECT_TRUE(sheetClosed());
}
