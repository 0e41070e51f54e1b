#include "settings/ColorChooser.h"

#include <QColorDialog>
#include <QPointer>

#include "settings/TouchStyle.h"

QColor colorFromRef(std::uint32_t ref) {
    return QColor(int(ref & 0xFF), int((ref >> 8) & 0xFF), int((ref >> 16) & 0xFF));
}

std::uint32_t refFromColor(const QColor& color) {
    return std::uint32_t(color.red()) | (std::uint32_t(color.green()) << 8) |
           (std::uint32_t(color.blue()) << 16);
}

bool chooseColor(QWidget* owner, std::uint32_t& color, std::uint32_t (&customColors)[16]) {
    // The dialog's custom colours are shared by all its uses: load this setting's own set.
    for (int i = 0; i < 16 && i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i, colorFromRef(customColors[i]));

    QPointer<QColorDialog> dialog = new QColorDialog(colorFromRef(color), owner);
    dialog->setOption(QColorDialog::DontUseNativeDialog);
    dialog->setWindowFlag(Qt::FramelessWindowHint);
    dialog->setStyleSheet(touchStyleSheet(touchUnit()));
    const bool confirmed = dialog->exec() == QDialog::Accepted && dialog;
    QColor chosen;
    if (confirmed) chosen = dialog->currentColor();
    delete dialog.data();

    for (int i = 0; i < 16 && i < QColorDialog::customCount(); ++i)
        customColors[i] = refFromColor(QColorDialog::customColor(i));
    if (!confirmed || !chosen.isValid()) return false;
    color = refFromColor(chosen);
    return true;
}
