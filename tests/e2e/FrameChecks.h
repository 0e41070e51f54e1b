// What a presented frame shows, counted in its RGB565 pixels.
#pragma once

#include <QImage>
#include <QRect>
#include <cstdint>

// Pixels of exactly this colour inside the region (clipped to the frame).
int countPixels(const QImage& frame, QRect region, std::uint16_t colour);
// Pixels of any colour other than this one inside the region.
int countOtherPixels(const QImage& frame, QRect region, std::uint16_t colour);
// The whole frame's area.
QRect wholeFrame(const QImage& frame);

// The colours of the work screen, from the settings in force.
std::uint16_t trackPixel();
std::uint16_t textPixel();
std::uint16_t backgroundPixel();
inline constexpr std::uint16_t kGuideLinePixel = 0xF800;
