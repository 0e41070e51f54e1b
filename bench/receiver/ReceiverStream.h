// A receiver played into a pseudo-terminal at a fixed rate: every epoch a GGA, then RMC, GSA and
// GSV sentences up to the epoch's share of the line. Fix i moves north by `stepMinutes` of
// latitude, so its latitude tells which fix a callback carries, and its HDOP cycles through ten
// values (0.5 to 1.4), so the fix a frame shows can be told apart from its neighbours.
#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

using BenchClock = std::chrono::steady_clock;

class ReceiverStream {
  public:
    ReceiverStream();
    ~ReceiverStream();
    bool ok() const { return master >= 0; }
    const std::string& devicePath() const { return path; }

    // Plays `epochs` epochs at `rateHz`, `bytesPerEpoch` each, from now on (blocking).
    // ggaWritten[i] is when the last byte of fix i's GGA was on the port; the epoch (time point
    // zero) when it could not be written whole.
    void play(double rateHz, std::size_t bytesPerEpoch, int epochs, const std::atomic<bool>* stop);
    std::vector<BenchClock::time_point> ggaWritten;

    static constexpr double kStepMinutes = 0.0005;  // about 0.9 m a fix
    // The fix number a latitude carries.
    static int fixIndex(double latitude);
    // The HDOP code (0 to 9) of fix i, and of a HDOP value.
    static int hdopCode(int fix) { return fix % 10; }
    static int hdopCodeOf(float hdop);

  private:
    int master = -1;
    std::string path;
};

// The 99th percentile of the values (0 when there are none).
double percentile99(std::vector<double> values);
