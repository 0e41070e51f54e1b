#include "ReceiverStream.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <thread>

#include "tests/support/NmeaFraming.h"

namespace {

std::string ggaOf(int fix, double seconds) {
    const double minutes = 7.0 + fix * ReceiverStream::kStepMinutes;
    const int hour = static_cast<int>(seconds / 3600) % 24;
    const int minute = static_cast<int>(seconds / 60) % 60;
    const double second = std::fmod(seconds, 60.0);
    char body[128];
    std::snprintf(body, sizeof body,
                  "GPGGA,%02d%02d%05.2f,48%08.5f,N,01131.00000,E,1,12,%.1f,545.4,M,46.9,M,,", hour,
                  minute, second, minutes, 0.5 + 0.1 * ReceiverStream::hdopCode(fix));
    return nmeatest::sentence(body);
}

std::string paddingOf(int fix, double seconds, std::size_t bytes) {
    char body[128];
    std::snprintf(body, sizeof body,
                  "GNRMC,%02d%02d%05.2f,A,48%08.5f,N,01131.00000,E,17.5,0.0,091226,,",
                  static_cast<int>(seconds / 3600) % 24, static_cast<int>(seconds / 60) % 60,
                  std::fmod(seconds, 60.0), 7.0 + fix * ReceiverStream::kStepMinutes);
    std::string text = nmeatest::sentence(body);
    text += nmeatest::sentence("GNGSA,A,3,01,02,03,04,05,06,07,08,09,10,11,12,1.2,0.9,0.8");
    static const char* const kSky[] = {
        "GPGSV,4,1,16,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45",
        "GLGSV,3,1,10,65,40,083,46,66,17,308,41,72,07,344,39,74,22,228,45",
        "GAGSV,3,1,09,03,40,083,46,05,17,308,41,13,07,344,39,15,22,228,45",
        "GBGSV,3,1,11,19,40,083,46,20,17,308,41,27,07,344,39,29,22,228,45",
    };
    for (int i = 0; text.size() < bytes; ++i) text += nmeatest::sentence(kSky[i % 4]);
    return text;
}

}  // namespace

ReceiverStream::ReceiverStream() {
    master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0 || ptsname(master) == nullptr) {
        if (master >= 0) ::close(master);
        master = -1;
        return;
    }
    path = ptsname(master);
}

ReceiverStream::~ReceiverStream() {
    if (master >= 0) ::close(master);
}

int ReceiverStream::fixIndex(double latitude) {
    return static_cast<int>(std::lround(((latitude - 48.0) * 60.0 - 7.0) / kStepMinutes));
}

int ReceiverStream::hdopCodeOf(float hdop) {
    return static_cast<int>(std::lround((hdop - 0.5f) * 10.0f));
}

void ReceiverStream::play(double rateHz, std::size_t bytesPerEpoch, int epochs,
                          const std::atomic<bool>* stop) {
    ggaWritten.assign(static_cast<std::size_t>(epochs), BenchClock::time_point{});
    const auto period = std::chrono::duration_cast<BenchClock::duration>(
        std::chrono::duration<double>(1.0 / rateHz));
    BenchClock::time_point next = BenchClock::now();
    for (int fix = 0; fix < epochs && !(stop && *stop); ++fix) {
        const double seconds = 9 * 3600 + fix / rateHz;
        const std::string gga = ggaOf(fix, seconds);
        if (::write(master, gga.data(), gga.size()) == static_cast<ssize_t>(gga.size())) {
            ggaWritten[static_cast<std::size_t>(fix)] = BenchClock::now();
        }
        const std::string rest =
            paddingOf(fix, seconds, bytesPerEpoch > gga.size() ? bytesPerEpoch - gga.size() : 0);
        [[maybe_unused]] const ssize_t n = ::write(master, rest.data(), rest.size());
        next += period;
        std::this_thread::sleep_until(next);
    }
}

double percentile99(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t at = static_cast<std::size_t>(std::ceil(0.99 * values.size())) - 1;
    return values[std::min(at, values.size() - 1)];
}
