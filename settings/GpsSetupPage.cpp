#include "settings/GpsSetupPage.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QListView>
#include <QRadioButton>
#include <string>
#include <vector>

#include <cstring>

#include "app/AppState.h"
#include "app/GpsControl.h"
#include "gpslink/PortNames.h"
#include "settings/DialogTexts.h"
#include "settings/SheetActions.h"

namespace {

// The same order as the link's own table of speeds: list position = gpsBaudIndex.
const char* const kBaudRates[] = {"4800",  "9600",  "14400",  "19200",  "38400",
                                  "56000", "57600", "115200", "128000", "256000"};
constexpr int kPortCount = 10;

QComboBox* touchList(int id, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::number(id));
    list->setView(new QListView(list));
    return list;
}

// An index the list does not have selects nothing.
void selectIndex(QComboBox* list, int index) {
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

}  // namespace

GpsSetupPage::GpsSetupPage(QWidget* parent)
    : SettingsPage(kTemplate, dialogText(kDlgGpsSetup), true, parent),
      windowsGps_(new QRadioButton(dialogText(kDlgUseWindowsGps), this)),
      serialGps_(new QRadioButton(dialogText(kDlgUseSerialGps), this)),
      port_(touchList(kIdPort, this)),
      baud_(touchList(kIdBaud, this)) {
    windowsGps_->setObjectName(QString::number(kIdWindowsGps));
    serialGps_->setObjectName(QString::number(kIdSerialGps));
    // There is no system receiver service to choose here; the choice stays visible but off.
    windowsGps_->setEnabled(false);
    content()->addWidget(windowsGps_);
    content()->addWidget(serialGps_);
    addLabel(kIdPortLabel, dialogText(kDlgPort));
    content()->addWidget(port_);
    addLabel(kIdBaudLabel, dialogText(kDlgBaud));
    content()->addWidget(baud_);
    content()->addStretch(1);

    // Each entry shows the device the link opens for it, as the link finds them now.
    const std::vector<std::string> devices = portnames::serialDevices();
    for (int n = 0; n < kPortCount; ++n) {
        QString text = QString("COM%1:").arg(n);
        if (std::size_t(n) < devices.size())
            text += QString(" ") + QString::fromStdString(devices[std::size_t(n)]);
        port_->addItem(text);
    }
    // After the numbered ports: gpsd on this machine, which then owns the receiver itself.
    port_->addItem(QString("gpsd  ") + QString::fromLatin1(kGpsdLocal + std::strlen("gpsd://")));
    for (const char* rate : kBaudRates) baud_->addItem(QString::fromLatin1(rate));
    selectIndex(port_, appState.settings.gpsPort);
    selectIndex(baud_, appState.settings.gpsBaudIndex);

    connect(windowsGps_, &QRadioButton::clicked, this, [this] { enableLists(false); });
    connect(serialGps_, &QRadioButton::clicked, this, [this] { enableLists(true); });
}

void GpsSetupPage::enableLists(bool enable) {
    port_->setEnabled(enable);
    baud_->setEnabled(enable);
}

bool GpsSetupPage::acceptPage() {
    appState.settings.useWindowsGps = windowsGps_->isChecked() ? 1 : 0;
    if (!appState.settings.useWindowsGps) {
        const int port = port_->currentIndex();
        const int baud = baud_->currentIndex();
        // Without a port and a speed there is nothing to start: the page stays open.
        if (port < 0 || baud < 0) return false;
        appState.settings.gpsPort = std::int8_t(port);
        appState.settings.gpsBaudIndex = std::uint8_t(baud);
    }
    SheetActions& act = sheetActions();
    act.saveSettings();
    closeSheet();
    // Back to live operation, on the port and speed just chosen: a link that still runs (the
    // page was opened from the start screen) is started again.
    if (act.isGpsRunning()) act.setGpsEnabled(0);
    act.setGpsEnabled(1);
    appState.fix.fixQuality = 0;
    appState.ui.screenState = kStateGpsWait;
    act.startGpsWait();
    return false;  // the sheet is already closing
}

void GpsSetupPage::cancelPage() {
    appState.ui.screenState = kStateStart;
}
