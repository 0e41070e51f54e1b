// The Guide page: the tolerance of the steering arrows and whether guide numbers are shown.
#pragma once

#include "settings/SettingsPage.h"

class QCheckBox;
class StepperBox;

class GuidePage : public SettingsPage {
  public:
    enum : int {
        kTemplate = 304,
        kIdTolerance = 1007,
        kIdToleranceLabel = 2004,
        kIdShowNumbers = 1029
    };
    explicit GuidePage(QWidget* parent = nullptr);

    void deactivated() override;

  protected:
    bool acceptPage() override;
    void cancelPage() override;

  private:
    void store();
    StepperBox* tolerance_;
    QCheckBox* showNumbers_;
};
