// The Sections page: how many sections the implement has and their widths, how early the valves
// are told to open and close, when a section goes off (over worked ground, below a speed, in the
// headland) and the section controllers' address. OK checks the sections against the implement
// width the Setup page of the same sheet would store, and stores both, or names what does not
// fit and stores nothing; the settings go to sulcovane.conf [sections].
#pragma once

#include <QString>

#include "settings/SettingsPage.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;

class SectionsPage : public SettingsPage {
  public:
    enum : int {
        kTemplate = 324,
        kIdCount = 1060,
        kIdWidths = 1061,
        kIdTurnOn = 1062,
        kIdTurnOff = 1063,
        kIdCoverage = 1064,
        kIdMinSpeed = 1065,
        kIdHeadland = 1066,
        kIdOutput = 1067,
        kIdNotice = 1068,
        kIdPrecision = 2060,
    };
    explicit SectionsPage(QWidget* parent = nullptr);

  protected:
    bool acceptPage() override;

  private:
    QLineEdit* addNumber(QGridLayout* grid, int id, int labelText, double value);
    // The number typed in a box, or nothing (and the refusal shown) when it is not one within
    // 0 to high.
    bool readNumber(QLineEdit* edit, int labelText, double high, double& value);
    void showNotice(const QString& text);

    QComboBox* count_;
    QLineEdit* widths_;
    QLineEdit* turnOn_ = nullptr;
    QLineEdit* turnOff_ = nullptr;
    QLineEdit* coverage_ = nullptr;
    QLineEdit* minSpeed_ = nullptr;
    QCheckBox* headland_;
    QLineEdit* output_;
    QLabel* notice_;
};

// Why these sections do not fit an implement of that width, in the driver's language; empty
// when they do. One section without widths fits any width: it is the implement.
QString sectionsRefusal(const QString& widths, int count, int implementWidthCm);
