// The Miscellaneous page: the scale of the vehicle picture, or no picture, and the colour of the
// data texts. The colour is stored at once; the scale on OK.
#pragma once

#include "settings/SettingsPage.h"

class QComboBox;

class MiscPage : public SettingsPage {
  public:
    enum : int {
        kTemplate = 314,
        kIdScale = 1026,
        kIdTextColor = 1027,
        kIdScaleLabel = 2007,
        kIdTextColorLabel = 2008
    };
    // List position of "Without tractor".
    static constexpr int kWithoutTractor = 5;

    explicit MiscPage(QWidget* parent = nullptr);
    // The vehicle picture is rebuilt for the scale in force, whatever closed the sheet.
    ~MiscPage() override;

  protected:
    bool acceptPage() override;
    void cancelPage() override;

  private:
    QComboBox* scale_;
};
