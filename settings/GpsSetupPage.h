// The GPS Setup page: the serial port and speed of the receiver. OK saves every setting and
// brings the link back up through the wait for a first fix; Cancel returns to the start screen.
#pragma once

#include "settings/SettingsPage.h"

class QComboBox;
class QRadioButton;

class GpsSetupPage : public SettingsPage {
  public:
    enum : int {
        kTemplate = 310,
        kIdWindowsGps = 1016,
        kIdSerialGps = 1017,
        kIdPort = 1018,
        kIdBaud = 1019,
        kIdPortLabel = 2005,
        kIdBaudLabel = 2006
    };
    explicit GpsSetupPage(QWidget* parent = nullptr);

  protected:
    bool acceptPage() override;
    void cancelPage() override;

  private:
    void enableLists(bool enable);

    QRadioButton* windowsGps_;
    QRadioButton* serialGps_;
    QComboBox* port_;
    QComboBox* baud_;
};
