// The Setup page: the implement width in metres, which spaces the guide lines. OK refuses a width
// the sections of sulcovane.conf [sections] do not fit, saying why.
#pragma once

#include "settings/SettingsPage.h"

class QLabel;
class StepperBox;

class SetupPage : public SettingsPage {
  public:
    enum : int { kTemplate = 300, kIdWidth = 1000, kIdWidthLabel = 2001, kIdNotice = 2009 };
    explicit SetupPage(QWidget* parent = nullptr);

    // The width in centimetres OK would store: the box's once the driver changed it, else the
    // stored one.
    int widthToStoreCm() const;
    // Stores the box's width if the driver changed it: the Sections page's OK, whose sections
    // were checked against it.
    void storeWidth() { store(); }

    void deactivated() override;

  protected:
    bool acceptPage() override;
    void cancelPage() override;

  private:
    void store();
    StepperBox* width_;
    QLabel* notice_;
};
