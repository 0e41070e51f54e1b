// The Review page: how fast a saved work is replayed, as the step between drawn points (1..11).
#pragma once

#include "settings/SettingsPage.h"

class QLabel;
class TouchSlider;

class ReviewPage : public SettingsPage {
  public:
    enum : int { kTemplate = 306, kIdStep = 1008, kIdStepLabel = 1013 };
    explicit ReviewPage(QWidget* parent = nullptr);

  protected:
    bool acceptPage() override;
    void cancelPage() override;
    void showEvent(QShowEvent* event) override;

  private:
    TouchSlider* step_;
    QLabel* label_;
};
