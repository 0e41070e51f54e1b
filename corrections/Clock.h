// Every timer of the corrections reads this clock, so tests can move time instead of waiting.
#pragma once

#include <atomic>
#include <chrono>

using Millis = std::chrono::milliseconds;

class Clock {
  public:
    virtual ~Clock() = default;
    // Monotonic time since an arbitrary start.
    virtual Millis now() const = 0;
};

class SteadyClock final : public Clock {
  public:
    Millis now() const override {
        return std::chrono::duration_cast<Millis>(
            std::chrono::steady_clock::now().time_since_epoch());
    }
};

// A clock that moves only when told to.
class ManualClock final : public Clock {
  public:
    Millis now() const override { return Millis(ms.load()); }
    void advance(Millis by) { ms += by.count(); }

  private:
    std::atomic<long long> ms{1'000'000};
};
