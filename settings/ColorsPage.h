// The Colors page: the colours of the worked track and of the work screen's background, and
// the palette (Day, Night, Automatic). A choice is stored at once; OK and Cancel only close
// the sheet.
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
        kIdBackgroundLabel = 2003,
        kIdPaletteLabel = 2004,
        kIdPaletteDay = 1007,  // Night and Automatic follow
    };
    explicit ColorsPage(QWidget* parent = nullptr);

  private:
    void addPaletteChoice();

  protected:
    bool acceptPage() override;
    void cancelPage() override;
};
