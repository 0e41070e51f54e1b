#include "settings/CorrectionsPage.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>

#include "app/Corrections.h"
#include "corrections/NtripClient.h"
#include "settings/CorrectionsTexts.h"

namespace {

SteadyClock listerClock;

template <typename T>
T* named(T* widget, int id) {
    widget->setObjectName(QString::number(id));
    return widget;
}

QString problemText(LinkProblem problem) {
    switch (problem) {
        case LinkProblem::kBadLogin:
            return correctionsText(kCorLogin);
        case LinkProblem::kUnknownMountpoint:
            return correctionsText(kCorMountpointUnknown);
        case LinkProblem::kNameNotResolved:
            return correctionsText(kCorNameNotResolved);
        case LinkProblem::kConnectionRefused:
            return correctionsText(kCorRefused);
        case LinkProblem::kTimeout:
            return correctionsText(kCorTimeout);
        case LinkProblem::kNoData:
        case LinkProblem::kDropped:
        case LinkProblem::kBadReply:
            return correctionsText(kCorNoData);
        case LinkProblem::kNone:
            break;
    }
    return {};
}

}  // namespace

CorrectionsPage::CorrectionsPage(QWidget* parent)
    : SettingsPage(kTemplate, correctionsText(kCorTitle), true, parent),
      on_(named(new QCheckBox(correctionsText(kCorOn), this), kIdOn)),
      caster_(named(new QLineEdit(this), kIdCaster)),
      port_(named(new QLineEdit(this), kIdPort)),
      mountpoint_(named(new QComboBox(this), kIdMountpoint)),
      list_(named(new QPushButton(correctionsText(kCorFetchList), this), kIdListMountpoints)),
      user_(named(new QLineEdit(this), kIdUser)),
      password_(named(new QLineEdit(this), kIdPassword)),
      version_(named(new QComboBox(this), kIdVersion)),
      status_(named(new QLabel(this), kIdStatus)),
      timer_(new QTimer(this)) {
    mountpoint_->setEditable(true);
    // Long table entries must not widen the page.
    mountpoint_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    mountpoint_->setMinimumContentsLength(6);
    mountpoint_->setView(new QListView(mountpoint_));
    version_->setView(new QListView(version_));
    version_->addItems({QStringLiteral("1"), QStringLiteral("2")});
    port_->setValidator(new QIntValidator(1, 65535, port_));
    password_->setEchoMode(QLineEdit::Password);
    status_->setWordWrap(true);

    // More fields than a small screen holds: they scroll, the OK and Cancel buttons stay.
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* fields = new QWidget(scroll);
    auto* column = new QVBoxLayout(fields);
    column->setContentsMargins(0, 0, 0, 0);
    auto label = [&](int id, int text) {
        auto* l = named(new QLabel(correctionsText(text), fields), id);
        l->setWordWrap(true);
        column->addWidget(l);
    };
    column->addWidget(on_);
    label(kIdCasterLabel, kCorCaster);
    column->addWidget(caster_);
    label(kIdPortLabel, kCorPort);
    column->addWidget(port_);
    label(kIdMountpointLabel, kCorMountpoint);
    column->addWidget(mountpoint_);
    column->addWidget(list_);
    label(kIdUserLabel, kCorUser);
    column->addWidget(user_);
    label(kIdPasswordLabel, kCorPassword);
    column->addWidget(password_);
    label(kIdVersionLabel, kCorVersion);
    column->addWidget(version_);
    column->addWidget(status_);
    column->addStretch(1);
    for (QWidget* w :
         {static_cast<QWidget*>(on_), static_cast<QWidget*>(caster_), static_cast<QWidget*>(port_),
          static_cast<QWidget*>(mountpoint_), static_cast<QWidget*>(list_),
          static_cast<QWidget*>(user_), static_cast<QWidget*>(password_),
          static_cast<QWidget*>(version_), static_cast<QWidget*>(status_)}) {
        w->setParent(fields);
    }
    scroll->setWidget(fields);
    content()->addWidget(scroll, 1);

    const NtripSettings s = correctionsSettings();
    on_->setChecked(s.on);
    caster_->setText(QString::fromStdString(s.caster));
    port_->setText(QString::number(s.port));
    mountpoint_->setEditText(QString::fromStdString(s.mountpoint));
    user_->setText(QString::fromStdString(s.user));
    password_->setText(QString::fromStdString(s.password));
    version_->setCurrentIndex(s.version == 1 ? 0 : 1);

    connect(list_, &QPushButton::clicked, this, [this] { listMountpoints(); });
    connect(timer_, &QTimer::timeout, this, [this] { showStatus(); });
    timer_->start(250);
    showStatus();
}

CorrectionsPage::~CorrectionsPage() = default;

NtripSettings CorrectionsPage::fromControls() const {
    NtripSettings s;
    s.on = on_->isChecked();
    s.caster = caster_->text().trimmed().toStdString();
    const int port = port_->text().toInt();
    s.port = port >= 1 && port <= 65535 ? port : 2101;
    // A list entry reads "NAME  (identifier, 12 km)": the name is its first word.
    s.mountpoint = mountpoint_->currentText().trimmed().section(' ', 0, 0).toStdString();
    s.user = user_->text().toStdString();
    s.password = password_->text().toStdString();
    s.version = version_->currentIndex() == 0 ? 1 : 2;
    return s;
}

// The table is read by a client of its own, on its own thread: the page only looks at it as
// the timer ticks.
void CorrectionsPage::listMountpoints() {
    NtripSettings s = fromControls();
    if (s.caster.empty()) {
        status_->setText(correctionsText(kCorNoCaster));
        return;
    }
    s.on = true;
    s.mountpoint.clear();
    lister_ = std::make_unique<NtripClient>(listerClock, nullptr, nullptr);
    lister_->start(s);
    showStatus();
}

void CorrectionsPage::showStatus() {
    if (lister_) {
        const CorrectionHealth h = lister_->health();
        // Before its first attempt the lister waits with no problem yet; after a failed one it
        // waits with the reason, which is shown, and the listing ends.
        const bool firstWait = h.state == LinkState::kWaiting && h.problem == LinkProblem::kNone;
        if (firstWait || h.state == LinkState::kConnecting ||
            h.state == LinkState::kAwaitingReply || h.state == LinkState::kSourceTable) {
            status_->setText(correctionsText(kCorStateConnecting));
            return;
        }
        if (h.state == LinkState::kHalted && h.problem == LinkProblem::kNone) {
            double latitude = 0;
            double longitude = 0;
            const bool located = lastFixPosition(latitude, longitude);
            const QString typed = mountpoint_->currentText();
            mountpoint_->clear();
            for (const Mountpoint& m : lister_->sourceTable(latitude, longitude)) {
                QString entry = QString::fromStdString(m.name);
                if (!m.identifier.empty()) entry += "  (" + QString::fromStdString(m.identifier);
                if (located && m.hasPosition) {
                    entry += QStringLiteral(", %1 km").arg(
                        qRound(distanceKm(latitude, longitude, m.latitude, m.longitude)));
                }
                if (!m.identifier.empty()) entry += ")";
                mountpoint_->addItem(entry);
            }
            mountpoint_->setEditText(mountpoint_->count() > 0 ? mountpoint_->itemText(0) : typed);
            status_->setText(correctionsText(kCorStateTableRead).arg(mountpoint_->count()));
        } else {
            status_->setText(problemText(h.problem));
        }
        lister_.reset();
        return;
    }
    const CorrectionHealth h = correctionsClient().health();
    switch (h.state) {
        case LinkState::kOff:
            status_->setText(correctionsText(kCorStateOff));
            break;
        case LinkState::kWaiting:
            status_->setText(
                problemText(h.problem) + "\n" +
                correctionsText(kCorStateWaiting).arg((h.retryIn.count() + 999) / 1000));
            break;
        case LinkState::kConnecting:
        case LinkState::kAwaitingReply:
        case LinkState::kSourceTable:
            status_->setText(correctionsText(kCorStateConnecting));
            break;
        case LinkState::kStreaming:
            status_->setText(correctionsText(kCorStateStreaming)
                                 .arg(qulonglong(h.goodFrames))
                                 .arg(qulonglong(h.badFrames)));
            break;
        case LinkState::kHalted:
            status_->setText(problemText(h.problem));
            break;
    }
}

bool CorrectionsPage::acceptPage() {
    const NtripSettings s = fromControls();
    if (s.on && s.caster.empty()) {
        status_->setText(correctionsText(kCorNoCaster));
        return false;
    }
    applyCorrectionsSettings(s);
    return true;
}
