// What moves on from one work frame to the next besides the work: the steering sound, the blink
// of the A and B prompt and the watch over RTK. The drawing only draws; this runs once before
// each work frame is drawn, so the sounds and the blink keep the frame rate.
#pragma once

void stepWorkFrame();
