#include "settings/SheetDialog.h"

#include <QApplication>
#include <QBoxLayout>
#include <QEvent>
#include <QTabBar>
#include <QTabWidget>

#include "app/AppState.h"
#include "settings/AboutPage.h"
#include "settings/ColorsPage.h"
#include "settings/CorrectionsPage.h"
#include "settings/ExtrasPage.h"
#include "settings/FieldsPage.h"
#include "settings/GpsSetupPage.h"
#include "settings/GuidePage.h"
#include "settings/InternalPage.h"
#include "settings/MiscPage.h"
#include "settings/ReviewPage.h"
#include "settings/SectionsPage.h"
#include "settings/SetupPage.h"
#include "settings/TouchStyle.h"

namespace {

SettingsPage* makePage(PageKind kind, QWidget* parent) {
    switch (kind) {
        case PageKind::Setup:
            return new SetupPage(parent);
        case PageKind::Colors:
            return new ColorsPage(parent);
        case PageKind::Guide:
            return new GuidePage(parent);
        case PageKind::Fields:
            return new FieldsPage(parent);
        case PageKind::Sections:
            return new SectionsPage(parent);
        case PageKind::Review:
            return new ReviewPage(parent);
        case PageKind::GpsSetup:
            return new GpsSetupPage(parent);
        case PageKind::Corrections:
            return new CorrectionsPage(parent);
        case PageKind::Internal:
            return new InternalPage(parent);
        case PageKind::Misc:
            return new MiscPage(parent);
        case PageKind::Extras:
            return new ExtrasPage(parent);
        case PageKind::About:
            return new AboutPage(parent);
    }
    return nullptr;
}

}  // namespace

std::vector<PageKind> pagesForScreen(std::uint8_t screenState) {
    using enum PageKind;
    switch (screenState) {
        case kStateFreeWork:
            return {Setup, Colors, Internal, Misc};
        case kStateGuidance:
        case kStateSettingAB:
            return {Setup, Colors, Guide, Internal, Misc};
        // The farm book's fields are kept between works: a field under a work stays as it is.
        // So are the sections: a running work's sections are not cut anew under it.
        case kStateStart:
            return {Setup, Colors, Guide,    Fields,      Sections, Internal,
                    Misc,  Review, GpsSetup, Corrections, Extras,   About};
        case kStateReview:
            return {Review, Colors, Misc};
        case kStateGpsWait:
            return {GpsSetup};
        default:
            return {};
    }
}

SheetDialog::SheetDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), tabs_(new QTabWidget(this)) {
    setWindowTitle(QStringLiteral("Settings"));
    setObjectName(QStringLiteral("Settings"));
    tabs_->setUsesScrollButtons(true);
    tabs_->setElideMode(Qt::ElideNone);
    tabs_->setDocumentMode(true);
    for (PageKind kind : pagesForScreen(appState.ui.screenState)) {
        SettingsPage* page = makePage(kind, tabs_);
        tabs_->addTab(page, page->title());
    }
    currentPage_ = tabs_->currentIndex();
    // Leaving a page is its deactivation: pages with pending steps store them then.
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (SettingsPage* left = page(currentPage_)) left->deactivated();
        currentPage_ = index;
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs_);
}

SheetDialog::~SheetDialog() {
    // Pages go first: the Miscellaneous page rebuilds the vehicle picture as it goes, which
    // must be done before a waiting review draws with it again.
    closing_ = true;
    tabs_->disconnect(this);
    delete tabs_;
    tabs_ = nullptr;
    appState.ui.menuOpen = 0;
    if (resumeReview_) appState.ui.menuDuringReview = 0;
}

int SheetDialog::pageCount() const {
    return tabs_ ? tabs_->count() : 0;
}

SettingsPage* SheetDialog::page(int index) const {
    if (!tabs_ || index < 0 || index >= tabs_->count()) return nullptr;
    return static_cast<SettingsPage*>(tabs_->widget(index));
}

void SheetDialog::placeOnScreen() {
    const QSize target = sheetTargetSize();
    setStyleSheet(touchStyleSheet(touchUnit(target)));
    QWidget* host = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->isVisible() && !dynamic_cast<QDialog*>(w)) host = w;
    }
    // The sheet is exactly as large as what it covers, never grown to its contents' liking.
    if (host && host->isFullScreen()) {
        setWindowState(Qt::WindowFullScreen);
    } else {
        if (host) move(host->geometry().topLeft());
        setFixedSize(target);
    }
}

void SheetDialog::closeSheet() {
    if (closing_) return;
    closing_ = true;
    done(QDialog::Accepted);
    deleteLater();
}

void SheetDialog::reject() {
    if (closing_) return;
    if (SettingsPage* current = page(tabs_->currentIndex())) {
        current->closeFromOutside();
    } else {
        closeSheet();
    }
}

bool SheetDialog::event(QEvent* e) {
    if (e->type() == QEvent::WindowDeactivate && !closing_) {
        if (SettingsPage* current = page(currentPage_)) current->deactivated();
    }
    return QDialog::event(e);
}
