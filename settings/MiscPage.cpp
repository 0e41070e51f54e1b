#include "settings/MiscPage.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QListView>

#include "app/AppState.h"
#include "settings/ColorSwatch.h"
#include "settings/DialogTexts.h"
#include "settings/SheetActions.h"
#include "settings/SheetDialog.h"

MiscPage::MiscPage(QWidget* parent)
    : SettingsPage(kTemplate, dialogText(kDlgMiscellaneous), true, parent),
      scale_(new QComboBox(this)) {
    addLabel(kIdScaleLabel, dialogText(kDlgTractorScale));
    scale_->setObjectName(QString::number(kIdScale));
    scale_->setView(new QListView(scale_));  // so that the list rows take the touch height
    for (int i = kDlgRealScale; i <= kDlgWithoutTractor; ++i) scale_->addItem(dialogText(i));
    content()->addWidget(scale_);
    addLabel(kIdTextColorLabel, dialogText(kDlgDataTextColor));
    content()->addWidget(new ColorSwatch(kIdTextColor, appState.settings.textColor,
                                         appState.settings.customColors[kCustomText], this));
    content()->addStretch(1);

    const int index =
        appState.settings.showVehicle ? appState.settings.vehicleScaleIndex : kWithoutTractor;
    scale_->setCurrentIndex(index < scale_->count() ? index : -1);
}

MiscPage::~MiscPage() {
    sheetActions().rebuildVehicleImage();
}

bool MiscPage::acceptPage() {
    const int s = scale_->currentIndex();
    if (s == kWithoutTractor) {
        appState.settings.showVehicle = 0;
        appState.settings.vehicleScaleIndex = 0;
    } else if (s >= 0) {
        appState.settings.showVehicle = 1;
        appState.settings.vehicleScaleIndex = std::uint8_t(s);
    }
    if (SheetDialog* sh = sheet()) sh->resumeReviewWhenClosed();
    return true;
}

void MiscPage::cancelPage() {
    if (SheetDialog* sh = sheet()) sh->resumeReviewWhenClosed();
}
