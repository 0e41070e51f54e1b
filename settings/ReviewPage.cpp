#include "settings/ReviewPage.h"

#include <QBoxLayout>
#include <QLabel>

#include "app/AppState.h"
#include "settings/DialogTexts.h"
#include "settings/SheetDialog.h"
#include "settings/TouchSlider.h"

ReviewPage::ReviewPage(QWidget* parent)
    : SettingsPage(kTemplate, dialogText(kDlgReview), true, parent),
      step_(new TouchSlider(kIdStep, 10, 2, 2, this)) {
    const int position = appState.settings.reviewStep > 0 ? appState.settings.reviewStep - 1 : 0;
    step_->setValue(position);
    label_ = addLabel(kIdStepLabel, dialogTextFormat(kDlgReviewAcceleration, step_->value()));
    content()->addWidget(step_);
    content()->addStretch(1);
    connect(step_, &QSlider::valueChanged, this,
            [this](int p) { label_->setText(dialogTextFormat(kDlgReviewAcceleration, p)); });
}

void ReviewPage::showEvent(QShowEvent* event) {
    SettingsPage::showEvent(event);
    step_->setFocus();
}

// Either way the review that waits behind the sheet goes on.
bool ReviewPage::acceptPage() {
    appState.settings.reviewStep = std::uint8_t(step_->value() + 1);
    if (SheetDialog* s = sheet()) s->resumeReviewWhenClosed();
    return true;
}

void ReviewPage::cancelPage() {
    if (SheetDialog* s = sheet()) s->resumeReviewWhenClosed();
}
