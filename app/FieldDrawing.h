// The field on the work screen: its earlier works dimmed beneath the work's own strips, the
// boundary as a solid line and the headland's inner line dashed, both cut to the view; a
// boundary being driven so far, with its "Finish boundary" button; the warnings of the
// boundary ahead and of the headland. Drawn under the frame lock, as the rest of the frame.
#pragma once

#include "app/ButtonRect.h"

namespace gfx {
class Rasterizer;
}

// A boundary is being driven: the work screen has its "Finish boundary" button.
bool boundaryBeingDriven();
ButtonRect finishBoundaryButton();

void drawFieldBeneath(gfx::Rasterizer& target);
void drawFieldLines(gfx::Rasterizer& target);
// The warnings' lines, from row y down; the row after the last one drawn.
int drawFieldWarnings(gfx::Rasterizer& target, int y);
