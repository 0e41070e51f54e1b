#include "settings/SetupPage.h"

#include <QBoxLayout>
#include <algorithm>

#include "app/AppState.h"
#include "settings/DialogTexts.h"
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
    content()->addStretch(1);
    width_->setMetres(appState.implementWidth * 0.01);
}

// Only an edited box is stored: the box shows one decimal, so storing an untouched 2.54 m
// would quietly make it 2.50 m.
void SetupPage::store() {
    if (!width_->edited()) return;
    const double metres = std::clamp(width_->metres(), 0.0, kMaxWidthMetres);
    appState.implementHalfWidth = std::uint16_t(metres * 50);
    appState.implementWidth = std::uint16_t(2 * appState.implementHalfWidth);
}

bool SetupPage::acceptPage() {
    store();
    return true;
}

void SetupPage::cancelPage() {
    width_->stepChanged = false;
}

void SetupPage::deactivated() {
    if (width_->stepChanged) store();
}
