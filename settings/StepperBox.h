// The edit box of a length in metres with its four step buttons "+ 1", "- 1", "- 0.1" and
// "+ 0.1", used by the implement width and the guide arrow tolerance. The box shows one decimal;
// the steps never go below 1.0 ("- 1") or 0.1 ("- 0.1") and stop at the largest storable value.
#pragma once

#include <QString>
#include <QWidget>

class QLineEdit;

class StepperBox : public QWidget {
  public:
    StepperBox(int editId, double maximum, QWidget* parent);

    void setMetres(double metres);
    // The box's text as a number; text that is not a number reads as 0.
    double metres() const;
    // The driver changed the box: typed into it or used a step button since it was filled.
    bool edited() const;
    QLineEdit* edit() const { return edit_; }

    // Set by a step button; the page stores on leaving while it is set.
    bool stepChanged = false;

    // Reads at most 9 characters of a typed length: an optional sign, digits and a '.' or ','
    // as decimal mark; whatever follows the number is ignored.
    static double readMetres(const QString& text);

  private:
    void step(double delta, double above);

    QLineEdit* edit_;
    double maximum_;
    QString shown_;
};
