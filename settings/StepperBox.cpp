#include "settings/StepperBox.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <charconv>
#include <cmath>
#include <string>

namespace {

// Identifiers of the step buttons, the same on both stepper pages.
enum : int { kIdPlusOne = 1001, kIdMinusOne = 1002, kIdMinusTenth = 1003, kIdPlusTenth = 1004 };

}  // namespace

StepperBox::StepperBox(int editId, double maximum, QWidget* parent)
    : QWidget(parent), edit_(new QLineEdit(this)), maximum_(maximum) {
    edit_->setObjectName(QString::number(editId));
    edit_->setInputMethodHints(Qt::ImhFormattedNumbersOnly);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(edit_, 0, 0, 1, 4);
    struct Step {
        int id;
        const char* text;
        double delta;
        double above;  // the step is made only from a value above this
    };
    const Step steps[] = {{kIdMinusOne, "- 1", -1.0, 1.0},
                          {kIdMinusTenth, "- 0.1", -0.1, 0.1},
                          {kIdPlusTenth, "+ 0.1", 0.1, -HUGE_VAL},
                          {kIdPlusOne, "+ 1", 1.0, -HUGE_VAL}};
    int column = 0;
    for (const Step& s : steps) {
        auto* button = new QPushButton(QString::fromLatin1(s.text), this);
        button->setObjectName(QString::number(s.id));
        button->setAutoRepeat(true);
        connect(button, &QPushButton::clicked, this, [this, s] { step(s.delta, s.above); });
        grid->addWidget(button, 1, column++);
    }
}

void StepperBox::setMetres(double metres) {
    shown_ = QString::asprintf("%4.1f", metres);
    edit_->setText(shown_);
}

double StepperBox::metres() const {
    return readMetres(edit_->text());
}

bool StepperBox::edited() const {
    return stepChanged || edit_->text() != shown_;
}

double StepperBox::readMetres(const QString& text) {
    std::string s = text.left(9).toStdString();
    std::size_t at = s.find_first_not_of(" \t");
    if (at == std::string::npos) return 0.0;
    s.erase(0, at);
    bool negative = false;
    if (s[0] == '+' || s[0] == '-') {
        negative = s[0] == '-';
        s.erase(0, 1);
    }
    // Only digits and one decimal mark; that also keeps "nan" and "inf" out.
    std::size_t end = 0;
    bool mark = false;
    while (end < s.size()) {
        const char c = s[end];
        if (c >= '0' && c <= '9') {
            ++end;
        } else if ((c == '.' || c == ',') && !mark) {
            s[end++] = '.';
            mark = true;
        } else {
            break;
        }
    }
    double value = 0.0;
    if (std::from_chars(s.data(), s.data() + end, value).ec != std::errc()) return 0.0;
    return negative ? -value : value;
}

void StepperBox::step(double delta, double above) {
    const double value = metres();
    if (value <= above) return;
    double next = value + delta;
    if (delta > 0 && next > maximum_) {
        if (value >= maximum_) return;
        next = maximum_;
    }
    setMetres(next);
    // setMetres takes what it shows as the untouched text; a step is a change all the same.
    stepChanged = true;
}
