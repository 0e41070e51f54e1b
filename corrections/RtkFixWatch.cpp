#include "corrections/RtkFixWatch.h"

bool RtkFixWatch::update(int fixQuality, Millis now) {
    const bool nowFixed = fixQuality == kRtkFixed;
    if (nowFixed != fixed) {
        fixed = nowFixed;
        since = now;
    }
    const Millis held = now - since;
    if (fixed) {
        if (held >= kClearAfter) warningOn = false;
        if (held >= kRearmAfter) armed = true;
        return false;
    }
    if (armed && held > kLostAfter) {
        armed = false;
        warningOn = true;
        return true;
    }
    return false;
}
