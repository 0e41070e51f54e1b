#include "settings/ColorsPage.h"

#include <QBoxLayout>

#include "app/AppState.h"
#include "settings/ColorSwatch.h"
#include "settings/DialogTexts.h"
#include "settings/SheetDialog.h"

ColorsPage::ColorsPage(QWidget* parent)
    : SettingsPage(kTemplate, dialogText(kDlgColors), true, parent) {
    addLabel(kIdTrackLabel, dialogText(kDlgTrackColor));
    content()->addWidget(new ColorSwatch(kIdTrackColor, appState.trackColor,
                                         appState.customColors[kCustomTrack], this));
    addLabel(kIdBackgroundLabel, dialogText(kDlgBackgroundColor));
    content()->addWidget(new ColorSwatch(kIdBackgroundColor, appState.backgroundColor,
                                         appState.customColors[kCustomBackground], this));
    content()->addStretch(1);
}

// A review waiting behind the sheet goes on once the sheet is gone.
bool ColorsPage::acceptPage() {
    if (SheetDialog* s = sheet()) s->resumeReviewWhenClosed();
    return true;
}

void ColorsPage::cancelPage() {
    if (SheetDialog* s = sheet()) s->resumeReviewWhenClosed();
}
