#include "settings/InternalPage.h"

#include <QBoxLayout>
#include <QLabel>
#include <mutex>

#include "app/AppState.h"
#include "settings/DialogTexts.h"
#include "settings/DialogValues.h"
#include "settings/TouchSlider.h"

namespace {

// A stored threshold back on its slider. Stored values come from slider positions through
// km/h-to-knots and single-precision tenths, which land a hair below the position (0.7 is kept
// as 0.69999999); plain truncation would move the slider down one step at every opening.
int sliderPosition(double value) {
    return int(value + 1e-4);
}

}  // namespace

InternalPage::InternalPage(QWidget* parent)
    : SettingsPage(kTemplate, dialogText(kDlgInternalSettings), true, parent),
      speed_(new TouchSlider(kIdSpeed, 50, 2, 1, this)),
      distance_(new TouchSlider(kIdDistance, 100, 10, 5, this)),
      hdop_(new TouchSlider(kIdHdop, 100, 10, 5, this)) {
    const double kmh = appState.settings.speedThreshold * kKnotsToKmh;
    speedLabel_ = addLabel(kIdSpeedLabel, dialogTextFormat(kDlgSpeedThreshold, kmh));
    content()->addWidget(speed_);
    distanceLabel_ = addLabel(
        kIdDistanceLabel,
        dialogTextFormat(kDlgDistanceThreshold, tenthsValue(appState.settings.distanceThreshold)));
    content()->addWidget(distance_);
    hdopLabel_ = addLabel(kIdHdopLabel,
                          dialogTextFormat(kDlgHdopThreshold, appState.settings.hdopThreshold));
    content()->addWidget(hdop_);
    content()->addStretch(1);

    // The labels show the stored values unrounded until a slider moves.
    speed_->setValue(sliderPosition(kmh));
    distance_->setValue(appState.settings.distanceThreshold);
    hdop_->setValue(sliderPosition(appState.settings.hdopThreshold * 10));

    connect(speed_, &QSlider::valueChanged, this, [this](int p) {
        speedLabel_->setText(dialogTextFormat(kDlgSpeedThreshold, double(p)));
    });
    connect(distance_, &QSlider::valueChanged, this, [this](int p) {
        distanceLabel_->setText(dialogTextFormat(kDlgDistanceThreshold, tenthsValue(p)));
    });
    connect(hdop_, &QSlider::valueChanged, this, [this](int p) {
        hdopLabel_->setText(dialogTextFormat(kDlgHdopThreshold, tenthsValue(p)));
    });
}

void InternalPage::showEvent(QShowEvent* event) {
    SettingsPage::showEvent(event);
    speed_->setFocus();
}

bool InternalPage::acceptPage() {
    const int d = distance_->value();
    // The fix callback reads the thresholds on the receiver's thread.
    std::lock_guard lock(appState.frameLock);
    appState.settings.speedThreshold = speed_->value() * kKmhToKnots;
    appState.settings.distanceThreshold = std::int16_t(d);
    appState.settings.distanceThresholdSquared = std::uint16_t(d * d);
    appState.settings.hdopThreshold = tenthsValue(hdop_->value());
    return true;
}
