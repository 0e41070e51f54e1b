// The clock the GPS wait, the receiver's silence and the review's pace are timed by: the
// corrections client's Clock, the steady clock unless a test installs its own (a ManualClock
// that it moves), so that tests need not wait for real seconds.
#pragma once

#include <condition_variable>
#include <mutex>

#include "corrections/Clock.h"

const Clock& programClock();
// nullptr puts the steady clock back. Only while no GPS wait or review runs.
void setProgramClock(const Clock* clock);

// How long one real sleep of a wait on the program clock may be: the whole remaining span on
// the steady clock (so that a wait is one sleep, as it always was), and short slices on any
// other, so that a clock moved by a test is noticed at once.
Millis realSleepFor(Millis remaining);

// Sleeps until span of the program clock has passed.
void sleepOnProgramClock(Millis span);

// Waits on changed, its lock held as for condition_variable::wait_for, until done() or until
// span of the program clock has passed; what done() last said.
template <typename Done>
bool waitOnProgramClock(std::condition_variable& changed, std::unique_lock<std::mutex>& lock,
                        Millis span, Done done) {
    const Millis deadline = programClock().now() + span;
    for (Millis remaining = span; !done(); remaining = deadline - programClock().now()) {
        if (remaining <= Millis(0)) return false;
        changed.wait_for(lock, realSleepFor(remaining), done);
    }
    return true;
}
