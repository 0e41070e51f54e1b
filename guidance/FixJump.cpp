#include "guidance/FixJump.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kDay = 86400.0;
constexpr double kKnotDecimetres = 1852.0 / 360.0;  // dm/s in one knot

}  // namespace

double fixSeconds(const GPS_SYSTEMTIME& t) {
    if (t.hour > 23 || t.minute > 59 || t.second > 60 || t.milliseconds > 999) return -1.0;
    if (t.year == 0 && t.hour == 0 && t.minute == 0 && t.second == 0 && t.milliseconds == 0)
        return -1.0;
    return t.hour * 3600.0 + t.minute * 60.0 + t.second + t.milliseconds * 0.001;
}

bool beyondReach(double distance, double fromSeconds, double toSeconds, double fromKnots,
                 double toKnots) {
    // Without both times there is nothing to judge by.
    if (fromSeconds < 0 || toSeconds < 0) return false;
    double elapsed = toSeconds - fromSeconds;
    if (elapsed < -kDay / 2) elapsed += kDay;
    // A GGA's time is whole seconds: up to one more may have passed.
    elapsed = std::max(elapsed, 0.0) + 1.0;
    const double knots = std::max({fromKnots, toKnots, 0.0});
    const double reach = knots * kKnotDecimetres * elapsed + kJumpMargin;
    return !(distance <= reach);
}
