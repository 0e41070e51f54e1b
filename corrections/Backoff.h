// How long to wait before the next connection: casters ban clients that come back too fast.
// 10 s after the first failure, then doubling up to 60 s while it keeps failing; a connection
// that delivered corrections for a minute counts as a success and starts the series again.
#pragma once

#include "corrections/Clock.h"

class Backoff {
  public:
    static constexpr Millis kInitial{10'000};
    static constexpr Millis kMaximum{60'000};
    static constexpr Millis kGoodConnection{60'000};

    // The delay before the next attempt after a failure, and the series steps on.
    Millis nextDelay();
    // A connection ended that had delivered data for this long.
    void connectionEnded(Millis deliveredFor);
    void reset() { failures = 0; }
    int failureCount() const { return failures; }

  private:
    int failures = 0;
};
