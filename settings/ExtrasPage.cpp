#include "settings/ExtrasPage.h"

#include <QBoxLayout>
#include <QPushButton>
#include <string>

#include "settings/DialogTexts.h"
#include "settings/SheetActions.h"
#include "settings/TouchStyle.h"

ExtrasPage::ExtrasPage(QWidget* parent)
    : SettingsPage(kTemplate, QStringLiteral("Extras"), false, parent) {
    auto* button = new QPushButton(dialogText(kDlgExportKml), this);
    button->setObjectName(QString::number(kIdExportKml));
    makeTall(button);
    connect(button, &QPushButton::clicked, this, [this] { exportToKml(); });
    content()->addWidget(button);
    content()->addStretch(1);
}

void ExtrasPage::exportToKml() {
    std::string path;
    SheetActions& act = sheetActions();
    if (act.chooseShapefile(path, true)) act.convertShapefileToKml(path);
}
