// The Setup page: the implement width in metres, which spaces the guide lines.
#pragma once

#include "settings/SettingsPage.h"

class StepperBox;

class SetupPage : public SettingsPage {
  public:
    enum : int { kTemplate = 300, kIdWidth = 1000, kIdWidthLabel = 2001 };
    explicit SetupPage(QWidget* parent = nullptr);

    void deactivated() override;

  protected:
    bool acceptPage() override;
    void cancelPage() override;

  private:
    void store();
    StepperBox* width_;
};
