// The Guide page: the tolerance of the steering arrows, whether guide numbers are shown, the
// guidance pattern, the heading of an A + heading line and the look-ahead of the warning of
// worked ground. A line of a saved work, or for a work with a field one of the field's lines in
// the farm book, waits for the next AB work.
#pragma once

#include <cstdint>

#include "settings/SettingsPage.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QVBoxLayout;
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
        kIdLookAhead = 1104,
        kIdFieldLine = 1105
    };
    explicit GuidePage(QWidget* parent = nullptr);

    void deactivated() override;

  protected:
    bool acceptPage() override;
    void cancelPage() override;

  private:
    void store();
    void chooseSavedLine();
    void addFieldLines(QVBoxLayout* column, std::int64_t fieldId);
    void chooseFieldLine(int index);
    StepperBox* tolerance_;
    QCheckBox* showNumbers_;
    QComboBox* pattern_;
    QLineEdit* heading_;
    QComboBox* lookAhead_;
    QComboBox* fieldLine_ = nullptr;  // only for a work with a field
};
