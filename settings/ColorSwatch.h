// A button painted all over in the colour of one colour setting; a tap opens the colour chooser
// and a confirmed colour is stored in the setting at once.
#pragma once

#include <QPushButton>
#include <cstdint>

class ColorSwatch : public QPushButton {
  public:
    ColorSwatch(int id, std::uint32_t& color, std::uint32_t (&customColors)[16], QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::uint32_t& color_;
    std::uint32_t (&customColors_)[16];
};
