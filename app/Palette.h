// The work screen's palette: the user's own day colours, or the night palette (dark ground,
// dim track, amber text and dimmed pictures), chosen as Day, Night or Automatic. Automatic
// follows the sun at the vehicle's last fix (NightSwitch).
#pragma once

#include <cstdint>

#include "gfx/Pixel.h"
#include "gpslink/satlinker.h"

enum class PaletteChoice : std::uint8_t { Day = 0, Night = 1, Automatic = 2 };

PaletteChoice paletteChoice();
// Sets the choice for this run; the Colours page also stores it in sulcovane.conf.
void setPaletteChoice(PaletteChoice choice);
// Reads the choice from sulcovane.conf (at start, beside the settings).
void loadPaletteChoice();

// The place and time of a fix, for the automatic choice. Called by the fix callback under
// the frame lock.
void notePaletteFix(const GPS_POSITION& fix);
// Decides the palette for the next frame (under the frame lock, on the drawing thread); when
// it changes, the pictures are loaded again in the palette's brightness. Returns whether it
// changed.
bool refreshPalette();
bool nightPalette();

// The colours in force (COLORREF 0x00BBGGRR): the settings' colours by day.
std::uint32_t screenTextColor();
std::uint32_t screenTrackColor();
std::uint32_t screenBackgroundColor();
// The start and message screens' ground and text.
gfx::Pixel messageGround();
gfx::Pixel messageInk();

// A picture's pixel at night: every channel at a little over half, the same for every
// picture so that their colours keep their relations.
gfx::Pixel dimmedPixel(gfx::Pixel p);
