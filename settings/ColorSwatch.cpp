#include "settings/ColorSwatch.h"

#include <QPainter>

#include "settings/ColorChooser.h"
#include "settings/TouchStyle.h"

ColorSwatch::ColorSwatch(int id, std::uint32_t& color, std::uint32_t (&customColors)[16],
                         QWidget* parent)
    : QPushButton(parent), color_(color), customColors_(customColors) {
    setObjectName(QString::number(id));
    makeTall(this);
    connect(this, &QPushButton::clicked, this, [this] {
        if (chooseColor(window(), color_, customColors_)) update();
    });
}

void ColorSwatch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect().adjusted(1, 1, -2, -2);
    painter.fillRect(area, colorFromRef(color_));
    painter.setPen(QPen(isDown() ? palette().highlight().color() : palette().dark().color(),
                        isDown() ? 3 : 1));
    painter.drawRect(area);
}
