#include "settings/AboutPage.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>

#include "platform/Resources.h"
#include "settings/TouchStyle.h"

namespace {

const char kAboutText[] =
    "Sulcovane guides a tractor along parallel lines. Set point A, drive straight and set "
    "point B: the screen then shows the guide line to follow and its neighbours, spaced by the "
    "implement width, how far the tractor is off the line, the worked strip, the worked area, "
    "the distance and the speed. A work can be driven without a line, paused, saved as an ESRI "
    "shapefile, turned into a KML document and replayed later.\n\n"
    "The position comes from a GPS receiver that sends NMEA 0183 sentences on a serial port.\n\n"
    "Sulcovane is free software under the GNU General Public License, version 3 or later, and "
    "comes without any warranty.\n\n"
    "Built with Qt 6 (LGPL 3), GDAL and PROJ (MIT), shapelib (MIT / LGPL) and ALSA "
    "(LGPL 2.1).";

}  // namespace

AboutPage::AboutPage(QWidget* parent)
    : SettingsPage(kTemplate, QStringLiteral("About"), false, parent) {
    const double unit = touchUnit();
    auto* header = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setObjectName(QString::number(kIdIcon));
    QPixmap pixmap;
    const auto bytes = platform::findResource("ICON", "101");
    if (!bytes.empty() && pixmap.loadFromData(bytes.data(), uint(bytes.size()))) {
        const int side = int(32 * unit);
        icon->setPixmap(pixmap.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    header->addWidget(icon);
    auto* name = new QLabel(QStringLiteral("Sulcovane Version 3.2"), this);
    name->setObjectName(QString::number(kIdName));
    name->setWordWrap(true);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    header->addWidget(name, 1);
    content()->addLayout(header);

    // Scrolls on a small screen; read-only so that a tap brings up no keyboard.
    auto* text = new QPlainTextEdit(QString::fromUtf8(kAboutText), this);
    text->setObjectName(QString::number(kIdText));
    text->setReadOnly(true);
    text->setTextInteractionFlags(Qt::NoTextInteraction);
    text->setFrameShape(QFrame::NoFrame);
    content()->addWidget(text, 1);
}
