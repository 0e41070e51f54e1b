#include "settings/GuidePage.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <algorithm>
#include <mutex>

#include "app/AppState.h"
#include "settings/DialogTexts.h"
#include "settings/DialogValues.h"
#include "settings/StepperBox.h"

namespace {

// The tolerance is a 16-bit count of decimetres.
constexpr double kMaxToleranceMetres = 6553.0;

}  // namespace

GuidePage::GuidePage(QWidget* parent)
    : SettingsPage(kTemplate, dialogText(kDlgGuide), true, parent),
      tolerance_(new StepperBox(kIdTolerance, kMaxToleranceMetres, this)),
      showNumbers_(new QCheckBox(dialogText(kDlgShowGuideNumber), this)) {
    addLabel(kIdToleranceLabel, dialogText(kDlgArrowTolerance));
    content()->addWidget(tolerance_);
    showNumbers_->setObjectName(QString::number(kIdShowNumbers));
    content()->addWidget(showNumbers_);
    content()->addStretch(1);
    tolerance_->setMetres(appState.arrowTolerance * 0.1);
    showNumbers_->setChecked(appState.showGuideNumbers != 0);
}

void GuidePage::store() {
    // The fix callback reads the tolerance on the receiver's thread.
    std::lock_guard lock(appState.frameLock);
    if (tolerance_->edited()) {
        const double metres = std::clamp(tolerance_->metres(), 0.0, kMaxToleranceMetres);
        appState.arrowTolerance = toleranceDecimetres(metres);
    }
    appState.showGuideNumbers = showNumbers_->isChecked() ? 1 : 0;
}

bool GuidePage::acceptPage() {
    store();
    return true;
}

void GuidePage::cancelPage() {
    tolerance_->stepChanged = false;
}

void GuidePage::deactivated() {
    if (tolerance_->stepChanged) store();
}
