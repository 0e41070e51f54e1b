// Sizes for a gloved finger: every control of the sheet grows with the screen, one touch unit
// being the layout's scale (1 on a 240 x 320 screen, 2 on 480 x 640, 4 on 1920 x 1080).
#pragma once

#include <QProxyStyle>
#include <QSize>
#include <QString>

class QWidget;

// The size the sheet will cover: the main window, else the screen the program was given.
QSize sheetTargetSize();
double touchUnit(QSize target);
inline double touchUnit() {
    return touchUnit(sheetTargetSize());
}
// Smallest height of anything a finger must hit, in pixels.
int touchHeight(double unit);
// Marks a button drawn taller than the rest: the colour swatches and lone buttons.
void makeTall(QWidget* button);
// The style sheet of the whole settings sheet for that unit.
QString touchStyleSheet(double unit);

// Thick sliders with a wide handle that jump to where the finger lands.
class TouchSliderStyle : public QProxyStyle {
  public:
    explicit TouchSliderStyle(double unit);
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;

  private:
    double unit_;
};
