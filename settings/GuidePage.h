// The Guide page: the tolerance of the steering arrows, whether guide numbers are shown, the
// guidance pattern, the heading of an A + heading line and the look-ahead of the warning of
// worked ground.
#pragma once

#include "settings/SettingsPage.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class StepperBox;

class GuidePage : public SettingsPage {
  public:
    enum : int {
        kTemplate = 304,
        kIdTolerance = 1007,
        kIdToleranceLabel = 2004,
        kIdShowNumbers = 1029,
        kIdPattern = 1101,
        kIdHeading = 1102,
        kIdSavedLine = 1103,
        kIdLookAhead = 1104
    };
    explicit GuidePage(QWidget* parent = nullptr);

    void deactivated() override;

  protected:
    bool acceptPage() override;
    void cancelPage() override;

  private:
    void store();
    void chooseSavedLine();
    StepperBox* tolerance_;
    QCheckBox* showNumbers_;
    QComboBox* pattern_;
    QLineEdit* heading_;
    QComboBox* lookAhead_;
};
