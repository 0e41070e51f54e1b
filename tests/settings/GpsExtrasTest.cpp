// The GPS Setup page and its way back to live operation, the Extras and the About pages.
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

#include "SheetHarness.h"
#include "app/AppState.h"

namespace {

enum : int { kWindowsGps = 1016, kSerialGps = 1017, kPort = 1018, kBaud = 1019 };

}  // namespace

TEST_F(SheetTest, GpsSetupFromTheWaitScreenSavesAndStartsTheLink) {
    calls.gpsRunning = false;  // the shell stopped it before opening the sheet
    open(kStateGpsWait);
    EXPECT_FALSE(control<QRadioButton>(kWindowsGps)->isEnabled());
    EXPECT_FALSE(control<QRadioButton>(kWindowsGps)->isChecked());
    EXPECT_FALSE(control<QRadioButton>(kSerialGps)->isChecked());
    auto* port = control<QComboBox>(kPort);
    auto* baud = control<QComboBox>(kBaud);
    ASSERT_EQ(port->count(), 11);
    EXPECT_EQ(port->itemText(10), "gpsd  localhost:2947");
    ASSERT_EQ(baud->count(), 10);
    EXPECT_TRUE(port->itemText(3).startsWith("COM3:"));
    EXPECT_EQ(baud->itemText(4), "38400");
    EXPECT_EQ(baud->itemText(9), "256000");
    port->setCurrentIndex(3);
    baud->setCurrentIndex(4);
    appState.fix.fixQuality = 1;
    tapOk();
    EXPECT_TRUE(sheetClosed());
    EXPECT_EQ(appState.settings.gpsPort, 3);
    EXPECT_EQ(appState.settings.gpsBaudIndex, 4);
    EXPECT_EQ(appState.settings.useWindowsGps, 0);
    EXPECT_EQ(calls.saves, 1);
    EXPECT_EQ(calls.gpsEnables, std::vector<int>{1});
    EXPECT_EQ(calls.gpsWaits, 1);
    EXPECT_EQ(appState.ui.screenState, kStateGpsWait);
    EXPECT_EQ(appState.fix.fixQuality, 0);
    EXPECT_EQ(appState.ui.menuOpen, 0);
}

// The port and speed chosen take effect at once: the running link is started again on them.
TEST_F(SheetTest, GpsSetupFromTheStartScreenRestartsTheRunningLink) {
    calls.gpsRunning = true;
    open(kStateStart);
    show("GPS Setup");
    control<QComboBox>(kPort)->setCurrentIndex(1);
    control<QComboBox>(kBaud)->setCurrentIndex(0);
    tapOk();
    EXPECT_TRUE(sheetClosed());
    EXPECT_EQ(appState.settings.gpsPort, 1);
    EXPECT_EQ(appState.settings.gpsBaudIndex, 0);
    EXPECT_EQ(calls.saves, 1);
    EXPECT_EQ(calls.gpsEnables, (std::vector<int>{0, 1}));
    EXPECT_EQ(calls.gpsWaits, 1);
}

TEST_F(SheetTest, GpsSetupWithoutAChoiceStaysOpenAndStoresNothing) {
    const struct {
        std::int8_t port;
        std::uint8_t baud;
        int portShown, baudShown;
    } cases[] = {{-1, 4, -1, 4}, {2, 12, 2, -1}, {-1, 255, -1, -1}};
    for (const auto& c : cases) {
        appState.settings.gpsPort = c.port;
        appState.settings.gpsBaudIndex = c.baud;
        calls.saves = 0;
        open(kStateGpsWait);
        EXPECT_EQ(control<QComboBox>(kPort)->currentIndex(), c.portShown);
        EXPECT_EQ(control<QComboBox>(kBaud)->currentIndex(), c.baudShown);
        tapOk();
        EXPECT_FALSE(sheetClosed());
        EXPECT_EQ(calls.saves, 0);
        EXPECT_EQ(appState.settings.gpsPort, c.port);
        EXPECT_EQ(appState.settings.gpsBaudIndex, c.baud);
        EXPECT_EQ(calls.gpsWaits, 0);
    }
    // Once both are chosen OK goes through.
    control<QComboBox>(kPort)->setCurrentIndex(0);
    control<QComboBox>(kBaud)->setCurrentIndex(1);
    tapOk();
    EXPECT_TRUE(sheetClosed());
    EXPECT_EQ(appState.settings.gpsBaudIndex, 1);
}

TEST_F(SheetTest, GpsSetupCancelReturnsToTheStartScreen) {
    appState.settings.gpsPort = 2;
    appState.settings.gpsBaudIndex = 1;
    open(kStateGpsWait);
    control<QComboBox>(kPort)->setCurrentIndex(5);
    tap(control<QRadioButton>(kSerialGps));
    EXPECT_TRUE(control<QComboBox>(kPort)->isEnabled());
    tapCancel();
    EXPECT_TRUE(sheetClosed());
    EXPECT_EQ(appState.ui.screenState, kStateStart);
    EXPECT_EQ(appState.settings.gpsPort, 2);
    EXPECT_EQ(appState.settings.gpsBaudIndex, 1);
    EXPECT_EQ(calls.saves, 0);
    EXPECT_TRUE(calls.gpsEnables.empty());
}

TEST_F(SheetTest, ExtrasConvertsAChosenWorkAndStaysOpen) {
    calls.chooser = {"", "/fields/meadow.shp"};
    open(kStateStart);
    show("Extras");
    EXPECT_EQ(current()->cancelButton(), nullptr);
    tap(control<QPushButton>(1028));  // cancelled
    EXPECT_TRUE(calls.converted.empty());
    tap(control<QPushButton>(1028));
    EXPECT_EQ(calls.converted, std::vector<std::string>{"/fields/meadow.shp"});
    EXPECT_FALSE(sheetClosed());
    tapOk();
    EXPECT_TRUE(sheetClosed());
}

TEST_F(SheetTest, AboutNamesTheProgramAndClosesOnOk) {
    open(kStateStart);
    show("About");
    EXPECT_EQ(current()->cancelButton(), nullptr);
    EXPECT_EQ(control<QLabel>(1031)->text(), "Sulcovane Version 3.2");
    tapOk();
    EXPECT_TRUE(sheetClosed());
}
