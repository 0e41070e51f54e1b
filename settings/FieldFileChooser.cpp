#include "settings/FieldFileChooser.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QPointer>

#include "settings/FieldsTexts.h"
#include "settings/TouchStyle.h"

bool chooseFieldFile(std::string& path) {
    path.clear();
    // The sheet is the modal window the driver is looking at; the chooser covers it.
    QWidget* sheet = QApplication::activeModalWidget();
    QPointer<QFileDialog> dialog = new QFileDialog(
        sheet, QString(), QDir::homePath(),
        fieldsText(kFldFileFilter) + QStringLiteral(" (*.shp *.geojson *.json *.kml *.gpkg)"));
    // Qt's own dialog, not the desktop's: it works on eglfs, linuxfb and offscreen as well.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setStyleSheet(touchStyleSheet(touchUnit()));
    if (sheet && sheet->isFullScreen()) {
        dialog->setWindowState(Qt::WindowFullScreen);
    } else {
        if (sheet) dialog->move(sheet->geometry().topLeft());
        dialog->setFixedSize(sheet ? sheet->size() : sheetTargetSize());
    }
    const bool chosen =
        dialog->exec() == QDialog::Accepted && dialog && !dialog->selectedFiles().isEmpty();
    if (chosen) path = dialog->selectedFiles().first().toStdString();
    delete dialog.data();
    return chosen && !path.empty();
}
