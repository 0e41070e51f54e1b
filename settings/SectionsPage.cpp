#include "settings/SectionsPage.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleValidator>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QScrollArea>
#include <QScroller>
#include <cmath>
#include <mutex>

#include "app/AppState.h"
#include "app/SectionConfig.h"
#include "nmeaout/OutputAddress.h"
#include "sections/SectionLayout.h"
#include "sections/SectionOutput.h"
#include "settings/SectionsTexts.h"
#include "settings/SetupPage.h"
#include "settings/SheetDialog.h"

namespace {

template <typename T>
T* named(T* widget, int id) {
    widget->setObjectName(QString::number(id));
    return widget;
}

QLabel* wrapped(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

}  // namespace

QString sectionsRefusal(const QString& widths, int count, int implementWidthCm) {
    if (count == 1 && widths.trimmed().isEmpty()) return {};
    const LayoutResult r = parseSectionLayout(widths.toStdString(), count, implementWidthCm);
    switch (r.refusal) {
        case LayoutRefusal::None:
            return {};
        case LayoutRefusal::SumNotImplementWidth:
            return sectionsText(kSecSumRefused).arg(r.sumCm).arg(implementWidthCm);
        case LayoutRefusal::CountMismatch:
            return sectionsText(kSecCountRefused).arg(widths.count(',') + 1).arg(count);
        case LayoutRefusal::BadNumber:
            return sectionsText(kSecBadWidth).arg(r.item + 1);
        default:
            return sectionsText(kSecTooNarrow).arg(implementWidthCm).arg(count);
    }
}

SectionsPage::SectionsPage(QWidget* parent)
    : SettingsPage(kTemplate, sectionsText(kSecTitle), true, parent),
      count_(named(new QComboBox(this), kIdCount)),
      widths_(named(new QLineEdit(this), kIdWidths)),
      headland_(named(new QCheckBox(sectionsText(kSecHeadland), this), kIdHeadland)),
      output_(named(new QLineEdit(this), kIdOutput)),
      notice_(named(wrapped(QString(), this), kIdNotice)) {
    const SectionConfig& c = sectionConfig;
    // Nine rows are more than the smallest screens hold: they scroll, the refusal above them
    // and OK and Cancel stay in sight.
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFrameShape(QFrame::NoFrame);
    QScroller::grabGesture(scroll->viewport(), QScroller::TouchGesture);
    auto* rows = new QWidget(scroll);
    auto* grid = new QGridLayout(rows);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);

    count_->setView(new QListView(count_));
    for (int n = 1; n <= kMaxSections; ++n) count_->addItem(QString::number(n));
    count_->setCurrentIndex(c.count - 1);
    grid->addWidget(wrapped(sectionsText(kSecCount), rows), 0, 0);
    grid->addWidget(count_, 0, 1);
    grid->addWidget(wrapped(sectionsText(kSecWidths), rows), 1, 0, 1, 2);
    widths_->setPlaceholderText(sectionsText(kSecWidthsHint));
    widths_->setText(QString::fromStdString(c.widths));
    grid->addWidget(widths_, 2, 0, 1, 2);
    turnOn_ = addNumber(grid, kIdTurnOn, kSecTurnOn, c.turnOnS);
    turnOff_ = addNumber(grid, kIdTurnOff, kSecTurnOff, c.turnOffS);
    coverage_ = addNumber(grid, kIdCoverage, kSecCoverage, c.coveragePercent);
    minSpeed_ = addNumber(grid, kIdMinSpeed, kSecMinSpeed, c.minSpeedKmh);
    headland_->setChecked(c.headlandOff);
    grid->addWidget(headland_, grid->rowCount(), 0, 1, 2);
    grid->addWidget(wrapped(sectionsText(kSecOutput), rows), grid->rowCount(), 0, 1, 2);
    output_->setPlaceholderText(sectionsText(kSecOutputHint));
    output_->setText(QString::fromStdString(c.output));
    grid->addWidget(output_, grid->rowCount(), 0, 1, 2);
    grid->addWidget(named(wrapped(sectionsText(kSecPrecision), rows), kIdPrecision),
                    grid->rowCount(), 0, 1, 2);
    grid->setRowStretch(grid->rowCount(), 1);
    scroll->setWidget(rows);

    notice_->hide();
    content()->addWidget(notice_);
    content()->addWidget(scroll, 1);
}

QLineEdit* SectionsPage::addNumber(QGridLayout* grid, int id, int labelText, double value) {
    auto* edit = named(new QLineEdit(grid->parentWidget()), id);
    auto* validator = new QDoubleValidator(edit);
    validator->setNotation(QDoubleValidator::StandardNotation);
    validator->setLocale(QLocale::c());
    validator->setBottom(0.0);
    edit->setValidator(validator);
    edit->setText(QString::number(value, 'g', 10));
    const int row = grid->rowCount();
    grid->addWidget(wrapped(sectionsText(labelText), grid->parentWidget()), row, 0);
    grid->addWidget(edit, row, 1);
    return edit;
}

bool SectionsPage::readNumber(QLineEdit* edit, int labelText, double high, double& value) {
    bool ok = false;
    value = edit->text().trimmed().replace(',', '.').toDouble(&ok);
    if (ok && std::isfinite(value) && value >= 0.0 && value <= high) return true;
    showNotice(sectionsText(kSecBadNumber).arg(sectionsText(labelText)).arg(0).arg(high));
    return false;
}

void SectionsPage::showNotice(const QString& text) {
    notice_->setText(text);
    notice_->setVisible(!text.isEmpty());
}

bool SectionsPage::acceptPage() {
    SectionConfig c;
    c.count = count_->currentIndex() + 1;
    c.widths = widths_->text().trimmed().toStdString();
    c.headlandOff = headland_->isChecked();
    c.output = output_->text().trimmed().toStdString();
    if (!readNumber(turnOn_, kSecTurnOn, kMaxTurnSeconds, c.turnOnS) ||
        !readNumber(turnOff_, kSecTurnOff, kMaxTurnSeconds, c.turnOffS) ||
        !readNumber(coverage_, kSecCoverage, 100.0, c.coveragePercent) ||
        !readNumber(minSpeed_, kSecMinSpeed, kMaxSectionSpeedKmh, c.minSpeedKmh))
        return false;
    c.turnOnS = std::round(c.turnOnS / kTurnStepSeconds) * kTurnStepSeconds;
    c.turnOffS = std::round(c.turnOffS / kTurnStepSeconds) * kTurnStepSeconds;
    if (!c.output.empty() && !parseOutputAddress(c.output, kMachineModuleBaud)) {
        showNotice(sectionsText(kSecBadOutput));
        return false;
    }
    // The width typed on the Setup page of this sheet is the one the sections must fill.
    SetupPage* setup = nullptr;
    if (SheetDialog* s = sheet()) {
        for (int i = 0; i < s->pageCount() && !setup; ++i)
            setup = dynamic_cast<SetupPage*>(s->page(i));
    }
    const int widthCm = setup ? setup->widthToStoreCm() : appState.settings.implementWidth;
    const QString refusal = sectionsRefusal(QString::fromStdString(c.widths), c.count, widthCm);
    if (!refusal.isEmpty()) {
        showNotice(refusal);
        return false;
    }
    // The sections were checked against that width: it is stored with them.
    if (setup) setup->storeWidth();
    {
        // The fix thread switches the sections by these settings.
        std::lock_guard lock(appState.frameLock);
        sectionConfig = std::move(c);
    }
    saveSectionConfig();
    return true;
}
