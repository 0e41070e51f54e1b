#include "app/NightSwitch.h"

bool NightSwitch::update(double elevation, double now) {
    if (!known_) {
        known_ = true;
        night_ = elevation < kNightBelow;
        return night_;
    }
    const bool beyond = night_ ? elevation > kDayAbove : elevation < kNightBelow;
    if (!beyond) {
        pending_ = false;
        return night_;
    }
    if (!pending_) {
        pending_ = true;
        pendingSince_ = now;
    }
    if (now - pendingSince_ >= kHoldSeconds) {
        night_ = !night_;
        pending_ = false;
    }
    return night_;
}
