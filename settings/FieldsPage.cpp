#include "settings/FieldsPage.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDoubleValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScroller>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <mutex>
#include <string>

#include "app/AppState.h"
#include "app/FarmConfig.h"
#include "app/FarmSession.h"
#include "settings/FieldsTexts.h"
#include "settings/SheetActions.h"
#include "settings/TouchStyle.h"

namespace {

constexpr int kMostHeadlandPasses = 5;
// As far as sulcovane.conf takes it: a hedge or a ditch, not a field's width.
constexpr double kLargestOffsetM = 50.0;
// The farm thread's answers are looked at this often while the page is shown.
constexpr int kPollMs = 250;

template <typename T>
T* named(T* widget, int id) {
    widget->setObjectName(QString::number(id));
    return widget;
}

QString fieldLine(const FieldEntry& field) {
    return QString::fromStdString(field.name) + QStringLiteral("   ") +
           QString::number(field.areaHa, 'f', 2) + QStringLiteral(" ha");
}

// The driver is asked by name: a wrong tap on the list must not cost a field and its works.
bool confirmDelete(QWidget* page, const QString& name) {
    QPointer<QMessageBox> box =
        new QMessageBox(QMessageBox::Question, fieldsText(kFldTitle),
                        fieldsText(kFldConfirmDelete).arg(name), QMessageBox::NoButton, page);
    box->setStyleSheet(touchStyleSheet(touchUnit()));
    QPushButton* yes = box->addButton(fieldsText(kFldYes), QMessageBox::YesRole);
    QPushButton* no = box->addButton(fieldsText(kFldNo), QMessageBox::NoRole);
    box->setDefaultButton(no);
    box->setEscapeButton(no);
    box->exec();
    const bool confirmed = box && box->clickedButton() == yes;
    delete box.data();
    return confirmed;
}

}  // namespace

FieldsPage::FieldsPage(QWidget* parent)
    : SettingsPage(kTemplate, fieldsText(kFldTitle), true, parent),
      list_(named(new QListWidget(this), kIdList)),
      name_(named(new QLineEdit(this), kIdName)),
      rename_(named(new QPushButton(fieldsText(kFldRename), this), kIdRename)),
      delete_(named(new QPushButton(fieldsText(kFldDelete), this), kIdDelete)),
      import_(named(new QPushButton(fieldsText(kFldImport), this), kIdImport)),
      notice_(named(new QLabel(this), kIdNotice)),
      passes_(named(new QComboBox(this), kIdPasses)),
      boundary_(named(new QComboBox(this), kIdBoundary)),
      offset_(named(new QLineEdit(this), kIdOffset)),
      timer_(new QTimer(this)) {
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setTextElideMode(Qt::ElideMiddle);
    // A finger drags the list; a tap chooses a field.
    QScroller::grabGesture(list_->viewport(), QScroller::TouchGesture);
    name_->setPlaceholderText(fieldsText(kFldNamePlaceholder));
    name_->setMaxLength(80);
    notice_->setWordWrap(true);
    passes_->setView(new QListView(passes_));
    for (int passes = 1; passes <= kMostHeadlandPasses; ++passes)
        passes_->addItem(QString::number(passes));
    boundary_->setView(new QListView(boundary_));
    boundary_->addItem(fieldsText(kFldAntenna), kBoundaryAntenna);
    boundary_->addItem(fieldsText(kFldLeftEdge), kBoundaryLeftEdge);
    boundary_->addItem(fieldsText(kFldRightEdge), kBoundaryRightEdge);
    offset_->setToolTip(fieldsText(kFldOffsetTip));
    offset_->setPlaceholderText(QStringLiteral("0"));
    auto* metres = new QDoubleValidator(-kLargestOffsetM, kLargestOffsetM, 2, offset_);
    metres->setNotation(QDoubleValidator::StandardNotation);
    metres->setLocale(QLocale::c());
    offset_->setValidator(metres);
    layOut();

    const StoredSettings& s = appState.settings;
    passes_->setCurrentIndex(std::clamp(s.headlandPasses, 1, kMostHeadlandPasses) - 1);
    const int source = boundary_->findData(s.boundarySource);
    boundary_->setCurrentIndex(source >= 0 ? source : 0);
    offset_->setText(QString::number(s.boundaryOffsetM));

    connect(list_, &QListWidget::currentRowChanged, this, [this] { showChosenName(); });
    connect(rename_, &QPushButton::clicked, this, [this] { rename(); });
    connect(delete_, &QPushButton::clicked, this, [this] { remove(); });
    connect(import_, &QPushButton::clicked, this, [this] { import(); });
    connect(timer_, &QTimer::timeout, this, [this] { poll(); });
    showFields();
}

void FieldsPage::layOut() {
    if (isLandscape()) {
        // The list takes the height the settings below leave, two rows at least on the
        // smallest screen; its buttons stand beside it.
        list_->setMinimumHeight(2 * touchHeight(touchUnit()));
        auto* top = new QHBoxLayout;
        auto* left = new QVBoxLayout;
        left->addWidget(list_, 1);
        left->addWidget(name_);
        auto* right = new QVBoxLayout;
        right->addWidget(rename_);
        right->addWidget(delete_);
        right->addWidget(import_);
        right->addStretch(1);
        top->addLayout(left, 1);
        top->addLayout(right);
        content()->addLayout(top, 1);
    } else {
        content()->addWidget(list_, 1);
        auto* nameRow = new QHBoxLayout;
        nameRow->addWidget(name_, 3);
        nameRow->addWidget(rename_, 2);
        content()->addLayout(nameRow);
        auto* actions = new QHBoxLayout;
        actions->addWidget(delete_, 1);
        actions->addWidget(import_, 1);
        content()->addLayout(actions);
    }
    content()->addWidget(notice_);
    auto* headland = new QHBoxLayout;
    auto* passesLabel = named(new QLabel(fieldsText(kFldHeadland), this), kIdPassesLabel);
    passesLabel->setWordWrap(true);
    headland->addWidget(passesLabel, 3);
    headland->addWidget(passes_, 1);
    content()->addLayout(headland);
    auto* boundary = new QHBoxLayout;
    boundary->addWidget(named(new QLabel(fieldsText(kFldBoundary), this), kIdBoundaryLabel));
    boundary->addWidget(boundary_, 3);
    boundary->addWidget(offset_, 2);
    boundary->addWidget(named(new QLabel(QStringLiteral("m"), this), kIdOffsetUnit));
    content()->addLayout(boundary);
}

void FieldsPage::showEvent(QShowEvent* event) {
    SettingsPage::showEvent(event);
    poll();
    timer_->start(kPollMs);
}

void FieldsPage::hideEvent(QHideEvent* event) {
    timer_->stop();
    SettingsPage::hideEvent(event);
}

void FieldsPage::poll() {
    if (takeFarmNews()) showFields();
    const std::string notice = takeFarmNotice();
    if (!notice.empty()) showNotice(QString::fromStdString(notice));
}

void FieldsPage::showFields() {
    const std::int64_t chosen = chosenField();
    const QSignalBlocker quiet(list_);
    list_->clear();
    const QSize itemSize(0, touchHeight(touchUnit()));
    for (const FieldEntry& field : farmContents().fields) {
        auto* item = new QListWidgetItem(fieldLine(field), list_);
        item->setData(Qt::UserRole, qlonglong(field.id));
        item->setSizeHint(itemSize);
        if (field.id == chosen) list_->setCurrentItem(item);
    }
    showChosenName();
    if (noticeShown_) return;
    if (!farmBookOpen())
        notice_->setText(fieldsText(kFldNoBook));
    else if (farmContents().fields.empty())
        notice_->setText(fieldsText(kFldNoFields));
    else
        notice_->clear();
}

std::int64_t FieldsPage::chosenField() const {
    const QListWidgetItem* item = list_->currentItem();
    return item ? std::int64_t(item->data(Qt::UserRole).toLongLong()) : 0;
}

void FieldsPage::showChosenName() {
    const FieldEntry* field = farmContents().field(chosenField());
    name_->setText(field ? QString::fromStdString(field->name) : QString());
}

void FieldsPage::showNotice(const QString& text) {
    noticeShown_ = !text.isEmpty();
    notice_->setText(text);
}

void FieldsPage::rename() {
    const FieldEntry* field = farmContents().field(chosenField());
    if (!field) {
        showNotice(fieldsText(kFldChooseField));
        return;
    }
    const QString name = name_->text().trimmed();
    if (name.isEmpty()) {
        showNotice(fieldsText(kFldNameEmpty));
        return;
    }
    showNotice({});
    if (name.toStdString() != field->name) renameFieldInBook(field->id, name.toStdString());
}

void FieldsPage::remove() {
    const FieldEntry* field = farmContents().field(chosenField());
    if (!field) {
        showNotice(fieldsText(kFldChooseField));
        return;
    }
    // The question runs its own loop, in which the timer may take in a new reading: the field
    // is known by its id from here on.
    const std::int64_t id = field->id;
    if (!confirmDelete(this, QString::fromStdString(field->name))) return;
    showNotice({});
    deleteFieldFromBook(id);
}

void FieldsPage::import() {
    std::string path;
    if (!sheetActions().chooseFieldFile(path)) return;
    showNotice(fieldsText(kFldImporting));
    // The file's "name" attribute names the fields; the farm thread reads the file.
    importFieldsIntoBook(path, std::string());
}

bool FieldsPage::acceptPage() {
    const QString typed = offset_->text().trimmed().replace(',', '.');
    bool ok = typed.isEmpty();
    const double offset = ok ? 0.0 : typed.toDouble(&ok);
    if (!ok || !std::isfinite(offset) || std::fabs(offset) > kLargestOffsetM) {
        showNotice(fieldsText(kFldBadOffset));
        return false;
    }
    {
        // A driven boundary is recorded as the fixes come in, on the receiver's thread.
        std::lock_guard lock(appState.frameLock);
        appState.settings.boundarySource =
            static_cast<std::uint8_t>(boundary_->currentData().toInt());
        appState.settings.boundaryOffsetM = offset;
    }
    const int passes = passes_->currentIndex() + 1;
    // A new width redraws every field's headland; it saves the whole [farm] section as well.
    if (passes != appState.settings.headlandPasses)
        setHeadlandPasses(passes);
    else
        saveFarmConfig();
    return true;
}
