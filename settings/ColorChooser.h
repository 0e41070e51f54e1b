// The colour chooser of the colour settings: Qt's colour dialog opened on the current colour
// with the setting's own 16 custom colours, which are kept back in the setting afterwards.
#pragma once

#include <QColor>
#include <QDialog>
#include <cstdint>

class QColorDialog;

// Colours are kept as 0x00BBGGRR values, red in the low byte.
QColor colorFromRef(std::uint32_t ref);
std::uint32_t refFromColor(const QColor& color);

// The colour dialog over the whole sheet. It is larger than a small cab screen, so it sits in a
// frame that scrolls; the frame closes with the dialog's own OK or Cancel.
class ColorChooserFrame : public QDialog {
  public:
    ColorChooserFrame(QWidget* owner, const QColor& initial);
    QColorDialog* picker() const { return picker_; }

  private:
    QColorDialog* picker_;
};

// True when the driver confirmed a colour; color then holds it. The custom colours are stored
// back whether or not a colour was confirmed.
bool chooseColor(QWidget* owner, std::uint32_t& color, std::uint32_t (&customColors)[16]);
