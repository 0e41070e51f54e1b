// The Extras page: turning a saved work into a KML document for map viewers. The sheet stays
// open after a conversion.
#pragma once

#include "settings/SettingsPage.h"

class ExtrasPage : public SettingsPage {
  public:
    enum : int { kTemplate = 316, kIdExportKml = 1028 };
    explicit ExtrasPage(QWidget* parent = nullptr);

  private:
    void exportToKml();
};
