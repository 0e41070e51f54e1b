#include "settings/GuidePage.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollArea>
#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>
#include <vector>

#include "app/AppState.h"
#include "app/CoverageConfig.h"
#include "app/FarmSession.h"
#include "app/FieldWork.h"
#include "app/GuidanceConfig.h"
#include "export/GuideLineFile.h"
#include "platform/Platform.h"
#include "settings/DialogTexts.h"
#include "settings/DialogValues.h"
#include "settings/PatternTexts.h"
#include "settings/SheetActions.h"
#include "settings/StepperBox.h"

namespace {

// The tolerance is a 16-bit count of decimetres.
constexpr double kMaxToleranceMetres = 6553.0;
constexpr int kMaxLookAheadSeconds = 10;

// The line as guidance takes a saved one: longitude, latitude, longitude, ...; a line kept
// without its path is its A and B.
std::vector<double> fieldLinePoints(const LineEntry& line) {
    std::vector<double> points;
    if (line.path.size() >= 2) {
        for (const LonLat& p : line.path) {
            points.push_back(p.lon);
            points.push_back(p.lat);
        }
    } else {
        points = {line.a.lon, line.a.lat, line.b.lon, line.b.lat};
    }
    return points;
}

// A pattern the program does not know is the straight line, as in a line file.
std::uint8_t fieldLinePattern(const LineEntry& line) {
    return line.pattern <= kPatternCurve ? line.pattern : std::uint8_t(kPatternStraight);
}

}  // namespace

GuidePage::GuidePage(QWidget* parent)
    : SettingsPage(kTemplate, dialogText(kDlgGuide), true, parent),
      tolerance_(new StepperBox(kIdTolerance, kMaxToleranceMetres, this)),
      showNumbers_(new QCheckBox(dialogText(kDlgShowGuideNumber), this)),
      pattern_(new QComboBox(this)),
      heading_(new QLineEdit(this)),
      lookAhead_(new QComboBox(this)) {
    // A work's field adds the row of its lines, one row more than the smallest screens hold:
    // the page scrolls then, its OK and Cancel stay.
    QVBoxLayout* column = content();
    QScrollArea* scroll = nullptr;
    QWidget* rows = nullptr;
    const std::int64_t fieldId = [] {
        // The fix callback keeps the work's field under the frame lock.
        std::lock_guard lock(appState.frameLock);
        return workField.fieldId;
    }();
    if (fieldId != 0) {
        scroll = new QScrollArea(this);
        scroll->setWidgetResizable(true);
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroll->setFrameShape(QFrame::NoFrame);
        rows = new QWidget(scroll);
        column = new QVBoxLayout(rows);
        column->setContentsMargins(0, 0, 0, 0);
    }
    // The tolerance's label and the warning's look-ahead share a row, so the page fits the
    // smallest screen; the label wraps where the row is narrow.
    QLabel* toleranceLabel = addLabel(kIdToleranceLabel, dialogText(kDlgArrowTolerance));
    content()->removeWidget(toleranceLabel);
    auto* labelRow = new QHBoxLayout;
    labelRow->addWidget(toleranceLabel, 3);
    labelRow->addWidget(lookAhead_, 2);
    column->addLayout(labelRow);
    column->addWidget(tolerance_);
    showNumbers_->setObjectName(QString::number(kIdShowNumbers));
    column->addWidget(showNumbers_);
    // The pattern and its heading share one row, so the page fits the smallest screen.
    auto* row = new QHBoxLayout;
    pattern_->setObjectName(QString::number(kIdPattern));
    pattern_->setView(new QListView(pattern_));
    pattern_->setToolTip(patternText(kPatGuidancePattern));
    for (PatternTextId id : {kPatStraight, kPatHeading, kPatCurve})
        pattern_->addItem(patternText(id));
    row->addWidget(pattern_, 3);
    heading_->setObjectName(QString::number(kIdHeading));
    heading_->setPlaceholderText(QStringLiteral("\u00b0"));
    heading_->setToolTip(patternText(kPatHeadingBox));
    auto* degrees = new QDoubleValidator(0.0, 360.0, 1, heading_);
    degrees->setNotation(QDoubleValidator::StandardNotation);
    degrees->setLocale(QLocale::c());
    heading_->setValidator(degrees);
    row->addWidget(heading_, 2);
    column->addLayout(row);
    if (scroll) addFieldLines(column, fieldId);
    auto* savedLine = new QPushButton(patternText(kPatSavedLine), this);
    savedLine->setObjectName(QString::number(kIdSavedLine));
    connect(savedLine, &QPushButton::clicked, this, [this] { chooseSavedLine(); });
    column->addWidget(savedLine);
    // The look-ahead in whole seconds; a value of sulcovane.conf between them is offered too.
    lookAhead_->setObjectName(QString::number(kIdLookAhead));
    lookAhead_->setView(new QListView(lookAhead_));
    lookAhead_->setToolTip(patternText(kPatWorkedAhead));
    lookAhead_->addItem(patternText(kPatWarningOff), 0.0);
    for (int seconds = 1; seconds <= kMaxLookAheadSeconds; ++seconds)
        lookAhead_->addItem(patternText(kPatAhead) + QStringLiteral(" %1 s").arg(seconds),
                            double(seconds));
    const double lookAhead = appState.settings.lookAheadSeconds;
    int chosen = lookAhead_->findData(lookAhead);
    if (chosen < 0) {
        lookAhead_->addItem(
            patternText(kPatAhead) + QStringLiteral(" %1 s").arg(lookAhead, 0, 'f', 1), lookAhead);
        chosen = lookAhead_->count() - 1;
    }
    lookAhead_->setCurrentIndex(chosen);
    column->addStretch(1);
    if (scroll) {
        scroll->setWidget(rows);
        content()->addWidget(scroll, 1);
    }
    tolerance_->setMetres(appState.settings.arrowTolerance * 0.1);
    showNumbers_->setChecked(appState.settings.showGuideNumbers != 0);
    pattern_->setCurrentIndex(
        appState.settings.guidancePattern <= kPatternCurve ? appState.settings.guidancePattern : 0);
    if (std::isfinite(appState.settings.headingDegrees))
        heading_->setText(QString::number(appState.settings.headingDegrees, 'f', 1));
}

void GuidePage::store() {
    // The fix callback reads the tolerance on the receiver's thread.
    std::lock_guard lock(appState.frameLock);
    if (tolerance_->edited()) {
        const double metres = std::clamp(tolerance_->metres(), 0.0, kMaxToleranceMetres);
        appState.settings.arrowTolerance = toleranceDecimetres(metres);
    }
    appState.settings.showGuideNumbers = showNumbers_->isChecked() ? 1 : 0;
    // A pattern chosen during a work applies to its next line.
    appState.settings.guidancePattern =
        static_cast<std::uint8_t>(std::max(0, pattern_->currentIndex()));
    bool ok = false;
    const double heading = heading_->text().trimmed().replace(',', '.').toDouble(&ok);
    appState.settings.lookAheadSeconds =
        std::clamp(lookAhead_->currentData().toDouble(), 0.0, double(kMaxLookAheadSeconds));
    appState.settings.headingDegrees = ok && std::isfinite(heading)
                                           ? std::fmod(std::fmod(heading, 360.0) + 360.0, 360.0)
                                           : std::numeric_limits<double>::quiet_NaN();
}

// The chooser shows saved works; the line beside the chosen one waits for the next AB work.
void GuidePage::chooseSavedLine() {
    std::string path;
    if (!sheetActions().chooseShapefile(path, true)) return;
    SavedGuideLine line;
    if (!readGuideLine(guideLinePath(path), line)) {
        platform::current().messageBox(patternText(kPatNoSavedLine).toUtf8().constData());
        return;
    }
    std::lock_guard lock(appState.frameLock);
    appState.ui.savedLineLonLat = std::move(line.lonLat);
    appState.ui.savedLinePattern = line.pattern;
}

// The field's lines as the farm book was last read; the one waiting already is shown chosen.
void GuidePage::addFieldLines(QVBoxLayout* column, std::int64_t fieldId) {
    fieldLine_ = new QComboBox(this);
    fieldLine_->setObjectName(QString::number(kIdFieldLine));
    fieldLine_->setView(new QListView(fieldLine_));
    // Long line names must not widen the page.
    fieldLine_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    fieldLine_->setMinimumContentsLength(8);
    fieldLine_->setToolTip(patternText(kPatFieldLine));
    int waiting = -1;
    for (const LineEntry& line : farmContents().lines) {
        if (line.fieldId != fieldId) continue;
        const int pattern = fieldLinePattern(line);
        fieldLine_->addItem(QString::fromStdString(line.name) + QStringLiteral("  (") +
                                patternText(PatternTextId(kPatStraight + pattern)) +
                                QStringLiteral(")"),
                            QVariant::fromValue(qlonglong(line.id)));
        if (fieldLinePoints(line) == appState.ui.savedLineLonLat) waiting = fieldLine_->count() - 1;
    }
    fieldLine_->setPlaceholderText(
        patternText(fieldLine_->count() > 0 ? kPatFieldLine : kPatNoFieldLines));
    fieldLine_->setEnabled(fieldLine_->count() > 0);
    fieldLine_->setCurrentIndex(waiting);
    connect(fieldLine_, &QComboBox::currentIndexChanged, this,
            [this](int index) { chooseFieldLine(index); });
    column->addWidget(fieldLine_);
}

// As a saved work's line: it waits for the next AB work's first position.
void GuidePage::chooseFieldLine(int index) {
    if (index < 0) return;
    const std::int64_t id = fieldLine_->itemData(index).toLongLong();
    for (const LineEntry& line : farmContents().lines) {
        if (line.id != id) continue;
        std::vector<double> points = fieldLinePoints(line);
        std::lock_guard lock(appState.frameLock);
        appState.ui.savedLineLonLat = std::move(points);
        appState.ui.savedLinePattern = fieldLinePattern(line);
        return;
    }
}

bool GuidePage::acceptPage() {
    store();
    saveGuidanceConfig();
    saveCoverageConfig();
    return true;
}

void GuidePage::cancelPage() {
    tolerance_->stepChanged = false;
}

void GuidePage::deactivated() {
    if (tolerance_->stepChanged) store();
}
