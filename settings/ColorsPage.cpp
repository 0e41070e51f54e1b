#include "settings/ColorsPage.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QRadioButton>

#include "app/AppState.h"
#include "app/BackgroundWrites.h"
#include "app/ConfigFile.h"
#include "app/Palette.h"
#include "app/ScreenConf.h"
#include "settings/ColorSwatch.h"
#include "settings/DialogTexts.h"
#include "settings/SheetDialog.h"

namespace {

// The palette choice in the four languages: the screen title, then Day, Night, Automatic.
const wchar_t* const kPaletteTexts[4][4] = {
    {L"Screen", L"Day", L"Night", L"Automatic"},
    {L"Pantalla", L"D\u00eda", L"Noche", L"Autom\u00e1tico"},
    {L"Bildschirm", L"Tag", L"Nacht", L"Automatisch"},
    {L"\u042d\u043a\u0440\u0430\u043d", L"\u0414\u0435\u043d\u044c", L"\u041d\u043e\u0447\u044c",
     L"\u0410\u0432\u0442\u043e"},
};

QString paletteText(int index) {
    const int language = appState.ui.language < 4 ? appState.ui.language : 0;
    return QString::fromWCharArray(kPaletteTexts[language][index]);
}

}  // namespace

ColorsPage::ColorsPage(QWidget* parent)
    : SettingsPage(kTemplate, dialogText(kDlgColors), true, parent) {
    addLabel(kIdTrackLabel, dialogText(kDlgTrackColor));
    content()->addWidget(new ColorSwatch(kIdTrackColor, appState.settings.trackColor,
                                         appState.settings.customColors[kCustomTrack], this));
    addLabel(kIdBackgroundLabel, dialogText(kDlgBackgroundColor));
    content()->addWidget(new ColorSwatch(kIdBackgroundColor, appState.settings.backgroundColor,
                                         appState.settings.customColors[kCustomBackground], this));
    addPaletteChoice();
    content()->addStretch(1);
}

// Day keeps the colours above; Night and Automatic (night once the sun is 6 degrees below the
// horizon at the vehicle) use the night palette. A choice is stored at once, like a colour.
void ColorsPage::addPaletteChoice() {
    addLabel(kIdPaletteLabel, paletteText(0));
    auto* row = new QHBoxLayout;
    auto* group = new QButtonGroup(this);
    const int chosen = int(paletteChoice());
    for (int k = 0; k < 3; ++k) {
        auto* button = new QRadioButton(paletteText(k + 1), this);
        button->setObjectName(QString::number(kIdPaletteDay + k));
        button->setChecked(k == chosen);
        group->addButton(button, k);
        row->addWidget(button);
    }
    content()->addLayout(row);
    connect(group, &QButtonGroup::idClicked, this, [](int id) {
        const auto choice = PaletteChoice(id);
        setPaletteChoice(choice);
        writeInBackground(
            [choice, path = configPath()] { return writePaletteChoice(path, choice); });
    });
}

// A review waiting behind the sheet goes on once the sheet is gone.
bool ColorsPage::acceptPage() {
    if (SheetDialog* s = sheet()) s->resumeReviewWhenClosed();
    return true;
}

void ColorsPage::cancelPage() {
    if (SheetDialog* s = sheet()) s->resumeReviewWhenClosed();
}
