#include "settings/ColorChooser.h"

#include <QBoxLayout>
#include <QColorDialog>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScroller>

#include "settings/DialogTexts.h"
#include "settings/TouchStyle.h"

QColor colorFromRef(std::uint32_t ref) {
    return QColor(int(ref & 0xFF), int((ref >> 8) & 0xFF), int((ref >> 16) & 0xFF));
}

std::uint32_t refFromColor(const QColor& color) {
    return std::uint32_t(color.red()) | (std::uint32_t(color.green()) << 8) |
           (std::uint32_t(color.blue()) << 16);
}

ColorChooserFrame::ColorChooserFrame(QWidget* owner, const QColor& initial)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), picker_(new QColorDialog(initial)) {
    setStyleSheet(touchStyleSheet(touchUnit()));
    picker_->setWindowFlags(Qt::Widget);
    picker_->setOption(QColorDialog::DontUseNativeDialog);
    // The dialog's own buttons would scroll out of reach; the frame's stay in view.
    picker_->setOption(QColorDialog::NoButtons);
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll->setWidget(picker_);
    // A finger on a touch screen drags the view; the mouse keeps the picker's own dragging.
    QScroller::grabGesture(scroll->viewport(), QScroller::TouchGesture);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll, 1);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(6, 0, 6, 6);
    auto* ok = new QPushButton(dialogText(kDlgOk), this);
    auto* cancel = new QPushButton(dialogText(kDlgCancel), this);
    ok->setObjectName(QStringLiteral("1"));
    cancel->setObjectName(QStringLiteral("2"));
    buttons->addWidget(ok, 1);
    buttons->addWidget(cancel, 1);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, [this] { picker_->accept(); });
    connect(cancel, &QPushButton::clicked, this, [this] { picker_->reject(); });
    connect(picker_, &QColorDialog::finished, this, [this](int result) { done(result); });
    const QWidget* sheet = owner ? owner->window() : nullptr;
    if (sheet && sheet->isFullScreen()) {
        setWindowState(Qt::WindowFullScreen);
    } else {
        if (sheet) move(sheet->geometry().topLeft());
        setFixedSize(sheet ? sheet->size() : sheetTargetSize());
    }
}

bool chooseColor(QWidget* owner, std::uint32_t& color, std::uint32_t (&customColors)[16]) {
    // The dialog's custom colours are shared by all its uses: load this setting's own set.
    for (int i = 0; i < 16 && i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i, colorFromRef(customColors[i]));

    QPointer<ColorChooserFrame> frame = new ColorChooserFrame(owner, colorFromRef(color));
    const bool confirmed = frame->exec() == QDialog::Accepted && frame;
    QColor chosen;
    if (confirmed) chosen = frame->picker()->currentColor();
    delete frame.data();

    for (int i = 0; i < 16 && i < QColorDialog::customCount(); ++i)
        customColors[i] = refFromColor(QColorDialog::customColor(i));
    if (!confirmed || !chosen.isValid()) return false;
    color = refFromColor(chosen);
    return true;
}
