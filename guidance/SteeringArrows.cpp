// The arrow count of the steering bar.
#include "guidance/SteeringArrows.h"

#include <cmath>

std::uint8_t steeringArrows(double crossTrack, std::uint16_t tolerance) {
    // A tolerance below a decimetre is stored as 0: no arrows rather than a division by zero.
    if (tolerance == 0) return 0;
    double arrows = std::fabs(crossTrack) / tolerance;
    if (!(arrows >= 0.0)) return 0;
    // A count that does not fit saturates instead of wrapping to a few arrows.
    if (arrows >= 255.0) return 255;
    return static_cast<std::uint8_t>(arrows);
}
