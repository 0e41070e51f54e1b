// The colour chooser of the colour settings: Qt's colour dialog opened on the current colour
// with the setting's own 16 custom colours, which are kept back in the setting afterwards.
#pragma once

#include <QColor>
#include <cstdint>

class QWidget;

// Colours are kept as 0x00BBGGRR values, red in the low byte.
QColor colorFromRef(std::uint32_t ref);
std::uint32_t refFromColor(const QColor& color);

// True when the driver confirmed a colour; color then holds it. The custom colours are stored
// back whether or not a colour was confirmed.
bool chooseColor(QWidget* owner, std::uint32_t& color, std::uint32_t (&customColors)[16]);
