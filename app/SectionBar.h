// The section bar of the work screen, while section control is active: a master button (Auto,
// Manual, Off) at its left and one box a section, section 1 leftmost as the driver sees them,
// coloured by what the section does. It sits across the middle of the screen's lower half,
// above the place of the finish-boundary button and so above the guide numbers, inside the
// row of work buttons (portrait) or between their columns (landscape), the same width whatever
// the number of sections: the boxes share it.
#pragma once

#include <cstdint>

#include "app/ButtonRect.h"
#include "app/SectionControl.h"
#include "gfx/Pixel.h"

namespace gfx {
class Rasterizer;
}

struct SectionBarPlace {
    ButtonRect plate;   // the whole bar: every tap on it is the bar's
    ButtonRect master;  // the master button
    ButtonRect boxes;   // what the section boxes share, left to right
};

// Where the bar is on this screen, from the layout and its font.
SectionBarPlace sectionBarPlace();
// The box of section (0-based) of count sections in place: its share of the boxes, less a gap
// of a pixel or more on its right where the share is 3 pixels or wider.
ButtonRect sectionBox(const SectionBarPlace& place, int section, int count);

// In the palette now: the fill of a box (for master Off the plate, inside an outline); the
// plate behind the boxes; the master button's fill; the ink of the master's text, of the
// forced boxes' heavy border and of the empty boxes' outline.
gfx::Pixel sectionColour(SectionShown shown);
gfx::Pixel sectionPlateColour();
gfx::Pixel sectionMasterColour();
gfx::Pixel sectionInkColour();

// The master's text id, and what a touch on the master makes of it: Auto, Manual, Off, Auto.
int sectionMasterText(SectionMaster master);
SectionMaster nextSectionMaster(SectionMaster master);

// What a tap at (x, y) of the work screen hits of the bar; nothing while section control is
// not active, or the screen is not a work's (free work, guidance, setting A and B).
struct SectionBarHit {
    enum Kind : std::uint8_t { None, Master, Section };
    Kind kind = None;
    int section = -1;
};
SectionBarHit sectionBarHitAt(int x, int y);

// Draws the bar as sectionControl has it now, on a work's screen while section control is
// active. Under the frame lock.
void drawSectionBar(gfx::Rasterizer& r);
