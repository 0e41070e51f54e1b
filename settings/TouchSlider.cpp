#include "settings/TouchSlider.h"

#include "settings/TouchStyle.h"

TouchSlider::TouchSlider(int id, int maximum, int pageStep, int tickInterval, QWidget* parent)
    : QSlider(Qt::Horizontal, parent) {
    setObjectName(QString::number(id));
    setRange(0, maximum);
    setPageStep(pageStep);
    setSingleStep(1);
    setTickInterval(tickInterval);
    setTickPosition(QSlider::TicksBelow);
    auto* style = new TouchSliderStyle(touchUnit());
    style->setParent(this);
    setStyle(style);
    setMinimumHeight(touchHeight(touchUnit()) * 3 / 2);
}
