#include "settings/SetupPage.h"

#include <QBoxLayout>
#include <QLabel>
#include <algorithm>
#include <mutex>

#include "app/AppState.h"
#include "app/SectionConfig.h"
#include "settings/DialogTexts.h"
#include "settings/DialogValues.h"
#include "settings/SectionsPage.h"
#include "settings/StepperBox.h"

namespace {

// The width is kept as a half width in a 16-bit count of centimetres, and the full width must
// fit one too.
constexpr double kMaxWidthMetres = 655.0;

}  // namespace

SetupPage::SetupPage(QWidget* parent)
    : SettingsPage(kTemplate, dialogText(kDlgSetup), true, parent),
      width_(new StepperBox(kIdWidth, kMaxWidthMetres, this)) {
    addLabel(kIdWidthLabel, dialogText(kDlgImplementWidth));
    content()->addWidget(width_);
    notice_ = addLabel(kIdNotice, QString());
    notice_->hide();
    content()->addStretch(1);
    width_->setMetres(appState.settings.implementWidth * 0.01);
}

// Only an edited box is stored: the box shows one decimal, so storing an untouched 2.54 m
// would quietly make it 2.50 m.
void SetupPage::store() {
    if (!width_->edited()) return;
    const double metres = std::clamp(width_->metres(), 0.0, kMaxWidthMetres);
    const std::uint16_t half = halfWidthCentimetres(metres);
    // The fix callback reads the widths on the receiver's thread.
    std::lock_guard lock(appState.frameLock);
    appState.settings.implementHalfWidth = half;
    appState.settings.implementWidth = std::uint16_t(2 * half);
}

int SetupPage::widthToStoreCm() const {
    if (!width_->edited()) return appState.settings.implementWidth;
    return 2 * halfWidthCentimetres(std::clamp(width_->metres(), 0.0, kMaxWidthMetres));
}

bool SetupPage::acceptPage() {
    const QString refusal = sectionsRefusal(QString::fromStdString(sectionConfig.widths),
                                            sectionConfig.count, widthToStoreCm());
    if (!refusal.isEmpty()) {
        notice_->setText(refusal);
        notice_->show();
        return false;
    }
    store();
    return true;
}

void SetupPage::cancelPage() {
    width_->stepChanged = false;
}

void SetupPage::deactivated() {
    if (width_->stepChanged) store();
}
