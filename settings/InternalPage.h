// The Internal settings page: the three thresholds that decide whether a fix is used, each on a
// slider with a label that follows it: the lowest speed (shown in km/h, kept in knots), the
// shortest distance from the last used fix and the highest HDOP.
#pragma once

#include "settings/SettingsPage.h"

class QLabel;
class TouchSlider;

class InternalPage : public SettingsPage {
  public:
    enum : int {
        kTemplate = 312,
        kIdSpeedLabel = 1020,
        kIdSpeed = 1021,
        kIdDistanceLabel = 1022,
        kIdDistance = 1023,
        kIdHdopLabel = 1024,
        kIdHdop = 1025
    };
    static constexpr double kKnotsToKmh = 1.852;
    static constexpr double kKmhToKnots = 0.5399568034557235;

    explicit InternalPage(QWidget* parent = nullptr);

  protected:
    bool acceptPage() override;
    void showEvent(QShowEvent* event) override;

  private:
    TouchSlider* speed_;
    TouchSlider* distance_;
    TouchSlider* hdop_;
    QLabel* speedLabel_;
    QLabel* distanceLabel_;
    QLabel* hdopLabel_;
};
