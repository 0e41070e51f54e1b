#include "settings/TouchStyle.h"

#include "app/Layout.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "app/AppState.h"

QSize sheetTargetSize() {
    // The main window is the one visible top-level window that is not a dialog.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && !dynamic_cast<QDialog*>(w) && w->width() > 0) return w->size();
    }
    if (appState.layout.screenWidth > 0 && appState.layout.screenHeight > 0)
        return QSize(appState.layout.screenWidth, appState.layout.screenHeight);
    if (QScreen* screen = QGuiApplication::primaryScreen()) return screen->size();
    return QSize(240, 320);
}

// The layout's scale on that screen: the sheet's controls grow with the buttons around it.
double touchUnit(QSize target) {
    if (target.width() <= 0 || target.height() <= 0) return 1.0;
    return double(
        layoutScaleFor(target.width(), target.height(), target.width() > target.height()));
}

int touchHeight(double unit) {
    return int(26 * unit);
}

void makeTall(QWidget* button) {
    button->setProperty("tall", true);
}

QString touchStyleSheet(double unit) {
    const int font = int(11 * unit);
    const int height = touchHeight(unit);
    const int indicator = int(18 * unit);
    const int pad = int(4 * unit);
    return QString(
               "* { font-size: %1px; }"
               "QPushButton { min-height: %2px; padding: 0px %4px; }"
               "QLineEdit { min-height: %2px; }"
               "QComboBox { min-height: %2px; padding-left: %4px; }"
               "QComboBox QAbstractItemView::item { min-height: %2px; }"
               "QComboBox::drop-down { width: %2px; }"
               "QPushButton[tall=\"true\"] { min-height: %6px; }"

               "QRadioButton, QCheckBox { min-height: %2px; spacing: %4px; }"
               "QRadioButton::indicator, QCheckBox::indicator { width: %3px; height: %3px; }"
               "QTabBar::tab { min-height: %2px; padding: 0px %4px; }"
               "QTabBar::scroller { width: %5px; }"
               "QScrollBar:vertical { width: %3px; }")
        .arg(font)
        .arg(height)
        .arg(indicator)
        .arg(pad)
        .arg(2 * height)
        .arg(height * 3 / 2);
}

TouchSliderStyle::TouchSliderStyle(double unit) : unit_(unit) {}

int TouchSliderStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                  const QWidget* widget) const {
    switch (metric) {
        case PM_SliderThickness:
            return int(30 * unit_);
        case PM_SliderControlThickness:
        case PM_SliderLength:
            return int(22 * unit_);
        case PM_SliderTickmarkOffset:
            return int(4 * unit_);
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int TouchSliderStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                                QStyleHintReturn* returnData) const {
    // A tap on the groove moves the handle there instead of one page towards it.
    if (hint == SH_Slider_AbsoluteSetButtons) return Qt::LeftButton;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}
