// The Colors page: the colours of the worked track and of the work screen's background. A
// chosen colour is stored at once; OK and Cancel only close the sheet.
#pragma once

#include "settings/SettingsPage.h"

class ColorSwatch;

class ColorsPage : public SettingsPage {
  public:
    enum : int {
        kTemplate = 302,
        kIdTrackColor = 1005,
        kIdBackgroundColor = 1006,
        kIdTrackLabel = 2002,
        kIdBackgroundLabel = 2003
    };
    explicit ColorsPage(QWidget* parent = nullptr);

  protected:
    bool acceptPage() override;
    void cancelPage() override;
};
