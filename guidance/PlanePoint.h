// A point of the work plane: decimetres east (x) and north (y) of the work's origin, exactly as
// the projection gives them. The plane keeps every fraction of a decimetre, so a centimetre
// receiver is followed to the centimetre; only the screen rounds, to its pixels.
#pragma once

struct PlanePoint {
    double x = 0.0;
    double y = 0.0;
};
