// The About page: the program's icon, name and version, what it does and what it is built on.
#pragma once

#include "settings/SettingsPage.h"

class AboutPage : public SettingsPage {
  public:
    enum : int { kTemplate = 318, kIdIcon = 1030, kIdName = 1031, kIdText = 1032 };
    explicit AboutPage(QWidget* parent = nullptr);
};
