#include "settings/SettingsPage.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <utility>

#include "app/AppState.h"
#include "settings/DialogTexts.h"
#include "settings/SheetDialog.h"
#include "settings/TouchStyle.h"

namespace {

enum : int { kIdOk = 1, kIdCancel = 2 };

bool landscapeRotation() {
    return appState.layout.orientation == 1 || appState.layout.orientation == 3;
}

}  // namespace

SettingsPage::SettingsPage(int portraitTemplate, QString title, bool hasCancel, QWidget* parent)
    : QWidget(parent),
      templateId_(portraitTemplate + (landscapeRotation() ? 1 : 0)),
      title_(std::move(title)) {
    setObjectName(QString::number(templateId_));
    content_ = new QVBoxLayout;
    ok_ = new QPushButton(dialogText(kDlgOk), this);
    ok_->setObjectName(QString::number(kIdOk));
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, [this] { onOk(); });
    if (hasCancel) {
        cancel_ = new QPushButton(dialogText(kDlgCancel), this);
        cancel_->setObjectName(QString::number(kIdCancel));
        connect(cancel_, &QPushButton::clicked, this, [this] { onCancel(); });
    }

    QBoxLayout* buttons = nullptr;
    QBoxLayout* outer = nullptr;
    if (isLandscape()) {
        outer = new QHBoxLayout(this);
        buttons = new QVBoxLayout;
        outer->addLayout(content_, 1);
        outer->addLayout(buttons);
        // Narrow buttons are hard to hit; these take some of the page's width.
        const int width = touchHeight(touchUnit()) * 5 / 2;
        ok_->setMinimumWidth(width);
        buttons->addWidget(ok_);
        if (cancel_) {
            cancel_->setMinimumWidth(width);
            buttons->addWidget(cancel_);
        }
        buttons->addStretch(1);
    } else {
        outer = new QVBoxLayout(this);
        buttons = new QHBoxLayout;
        outer->addLayout(content_, 1);
        outer->addLayout(buttons);
        buttons->addWidget(ok_, 1);
        if (cancel_) buttons->addWidget(cancel_, 1);
    }
}

// Whatever closes the sheet, the main window may paint again once the page is gone.
SettingsPage::~SettingsPage() {
    appState.ui.menuOpen = 0;
}

QLabel* SettingsPage::addLabel(int id, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::number(id));
    label->setWordWrap(true);
    content_->addWidget(label);
    return label;
}

SheetDialog* SettingsPage::sheet() const {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (auto* s = dynamic_cast<SheetDialog*>(w)) return s;
    }
    return nullptr;
}

void SettingsPage::closeSheet() {
    if (SheetDialog* s = sheet()) {
        s->closeSheet();
    } else {
        close();
    }
}

void SettingsPage::onOk() {
    if (acceptPage()) closeSheet();
}

void SettingsPage::onCancel() {
    cancelPage();
    closeSheet();
}

void SettingsPage::closeFromOutside() {
    if (cancel_) {
        onCancel();
    } else {
        onOk();
    }
}
