// One strip record: the left and right implement edge at an accepted fix, in plane decimetres
// (fractions kept, as for every PlanePoint).
#pragma once

struct TrackEdge {
    double leftX = 0.0;
    double leftY = 0.0;
    double rightX = 0.0;
    double rightY = 0.0;
};
