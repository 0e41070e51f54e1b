// Tells the driver when the RTK fix is lost, without crying wolf: the warning comes when the
// fix has been other than RTK fixed for more than kLostAfter; it goes when the fix has been back
// for kClearAfter; and it sounds again only after the fix has held for kRearmAfter, so a tree
// line that takes the fix away every few seconds gives one warning, not thirty.
#pragma once

#include "corrections/Clock.h"

class RtkFixWatch {
  public:
    static constexpr Millis kLostAfter{5000};
    static constexpr Millis kClearAfter{3000};
    static constexpr Millis kRearmAfter{10000};
    static constexpr int kRtkFixed = 4;

    // The fix quality now; true when the warning sound is to be played now.
    bool update(int fixQuality, Millis now);
    // The warning text is to be shown.
    bool warning() const { return warningOn; }

  private:
    bool armed = false;  // an RTK fix has held long enough to be worth a warning when lost
    bool warningOn = false;
    bool fixed = false;
    Millis since{0};  // when the fix last became, or stopped being, RTK fixed
};
