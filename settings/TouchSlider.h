// A horizontal slider of the settings pages, sized for a finger, with tick marks.
#pragma once

#include <QSlider>

class TouchSlider : public QSlider {
  public:
    TouchSlider(int id, int maximum, int pageStep, int tickInterval, QWidget* parent);
};
