#include "app/ProgramClock.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

const SteadyClock steady;
std::atomic<const Clock*> installed{&steady};

// Slices of a wait on a test's clock.
constexpr Millis kTestSlice{2};

}  // namespace

const Clock& programClock() {
    return *installed.load(std::memory_order_acquire);
}

void setProgramClock(const Clock* clock) {
    installed.store(clock ? clock : &steady, std::memory_order_release);
}

Millis realSleepFor(Millis remaining) {
    if (&programClock() == &steady) return remaining;
    return std::min(remaining, kTestSlice);
}

void sleepOnProgramClock(Millis span) {
    const Millis deadline = programClock().now() + span;
    for (Millis remaining = span; remaining > Millis(0);
         remaining = deadline - programClock().now())
        std::this_thread::sleep_for(realSleepFor(remaining));
}
