#include "SheetHarness.h"

#include <QApplication>
#include <QLineEdit>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>

#include "app/AppState.h"
#include "app/FieldWork.h"
#include "settings/SheetActions.h"

ActionLog SheetTest::calls;

void resetSettings(int width, int height, std::uint32_t orientation, std::uint8_t language) {
    AppState& s = appState;
    s.settings.implementHalfWidth = 600;
    s.settings.implementWidth = 1200;
    s.settings.arrowTolerance = 10;
    s.settings.showGuideNumbers = 1;
    s.settings.textColor = 0x00FF0000;
    s.settings.trackColor = 0x0084EFFB;
    s.settings.backgroundColor = 0x0025C9A0;
    for (auto& set : s.settings.customColors)
        for (int i = 0; i < 16; ++i) set[i] = 0x010101u * std::uint32_t(i);
    s.settings.reviewStep = 1;
    s.settings.gpsPort = -1;
    s.settings.gpsBaudIndex = 255;
    s.settings.useWindowsGps = 0;
    s.settings.showVehicle = 1;
    s.settings.vehicleScaleIndex = 0;
    s.settings.distanceThreshold = 5;
    s.settings.distanceThresholdSquared = 25;
    s.settings.speedThreshold = 1.0;
    s.settings.hdopThreshold = 2.5;
    s.ui.menuOpen = 0;
    s.ui.menuDuringReview = 0;
    s.fix.fixQuality = 0;
    s.layout.screenWidth = std::uint16_t(width);
    s.layout.screenHeight = std::uint16_t(height);
    s.layout.orientation = orientation;
    s.ui.language = language;
    workField.fieldId = 0;
}

void SheetTest::SetUp() {
    resetSettings();
    // The Guide page writes sulcovane.conf beside Settings.dat: a folder of the test's own.
    static QTemporaryDir configFolder;
    std::snprintf(appState.layout.moduleDir, sizeof appState.layout.moduleDir, "%s/",
                  configFolder.path().toUtf8().constData());
    calls = ActionLog{};
    SheetActions& a = sheetActions();
    a.saveSettings = [] { ++calls.saves; };
    a.isGpsRunning = [] { return calls.gpsRunning ? 1 : 0; };
    a.setGpsEnabled = [](int enable) {
        calls.gpsEnables.push_back(enable);
        calls.gpsRunning = enable != 0;
    };
    a.startGpsWait = [] { ++calls.gpsWaits; };
    a.rebuildVehicleImage = [] { ++calls.vehicleRebuilds; };
    a.chooseShapefile = [](std::string& path, bool open) {
        EXPECT_TRUE(open);
        path.clear();
        if (calls.chooser.empty()) return false;
        path = calls.chooser.front();
        calls.chooser.erase(calls.chooser.begin());
        return !path.empty();
    };
    a.convertShapefileToKml = [](std::string& path) {
        calls.converted.push_back(path);
        return 1;
    };
    a.chooseFieldFile = [](std::string& path) {
        path.clear();
        if (calls.fieldFiles.empty()) return false;
        path = calls.fieldFiles.front();
        calls.fieldFiles.erase(calls.fieldFiles.begin());
        return !path.empty();
    };
}

void SheetTest::TearDown() {
    delete sheet.data();
    resetSheetActions();
}

SheetDialog* SheetTest::open(std::uint8_t screen) {
    delete sheet.data();
    appState.ui.screenState = screen;
    appState.ui.menuOpen = 1;
    sheet = new SheetDialog;
    sheet->placeOnScreen();
    sheet->show();
    QApplication::processEvents();
    return sheet;
}

SettingsPage* SheetTest::current() const {
    return sheet->page(sheet->tabs()->currentIndex());
}

SettingsPage* SheetTest::show(const QString& title) {
    QTabBar* bar = sheet->tabs()->tabBar();
    for (int i = 0; i < bar->count(); ++i) {
        if (bar->tabText(i) != title) continue;
        // A tab scrolled out of sight is brought in first, as the scroll arrows would.
        if (!bar->rect().contains(bar->tabRect(i).center())) bar->setCurrentIndex(i);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
        EXPECT_EQ(bar->currentIndex(), i);
        return current();
    }
    ADD_FAILURE() << "no page " << title.toStdString();
    return nullptr;
}

void SheetTest::tap(QWidget* widget) {
    ASSERT_NE(widget, nullptr);
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

void SheetTest::type(int id, const QString& text) {
    auto* edit = control<QLineEdit>(id);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

bool SheetTest::sheetClosed() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return sheet.isNull();
}
