// gpssim: a receiver on a pseudo-terminal, for rehearsal, demonstrations and tests.
//
// The first line on standard output is the path of the device side; open it like a serial
// receiver (sulcomain --gps-device PATH, nmeadump --device PATH). It drives back-and-forth
// passes over a field, or replays a captured log, until it is stopped.
//
// Like an RTK receiver it takes RTCM 3 corrections on the same line: the frames written to the
// device are counted and their CRC checked, and while good ones keep coming (the last under
// 10 s ago) the simulated fix is RTK fixed (quality 4) with a smaller HDOP. The counts are
// printed on standard error at the end: "gpssim: RTCM frames: G good, B bad".
//
//   gpssim [--link PATH] [--rate 1|5|10] [--lat DEG] [--lon DEG] [--heading DEG]
//          [--length M] [--spacing M] [--bend M] [--speed KMH] [--noise M] [--hdop X] [--quality N]
//          [--satellites N] [--talker GP|GN] [--gsa] [--gsv] [--seed N] [--seconds S]
//   gpssim [--link PATH] --replay LOG [--replay-speed X] [--seconds S]
#include <fcntl.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "corrections/RtcmFrameChecker.h"
#include "tools/FieldPath.h"
#include "tools/SimSentences.h"

namespace {

using Clock = std::chrono::steady_clock;

std::atomic<bool> stopping{false};

void onSignal(int) {
    stopping = true;
}

// Corrections arriving from the reader's side of the line.
struct Corrections {
    int master = -1;
    RtcmFrameChecker frames;
    Clock::time_point lastGood{};
    bool any = false;

    // Takes what the reader wrote since the last look.
    void take() {
        std::uint8_t buffer[4096];
        while (master >= 0) {
            const ssize_t n = read(master, buffer, sizeof buffer);
            if (n <= 0) break;
            if (frames.feed(buffer, static_cast<std::size_t>(n)) > 0) {
                lastGood = Clock::now();
                any = true;
            }
        }
    }
    bool fresh() const { return any && Clock::now() - lastGood < std::chrono::seconds(10); }
};

Corrections corrections;

// What an RTK receiver's solution looks like with fresh corrections.
constexpr int kRtkFixed = 4;
constexpr double kRtkHdopFactor = 0.6;

struct Options {
    std::string link;
    int rate = 1;
    FieldPathConfig path;
    double speedKmh = 8.0;
    double noise = 0.0;
    double hdop = 0.9;
    int quality = 1;
    int satellites = 8;
    std::string talker = "GP";
    bool gsa = false;
    bool gsv = false;
    unsigned seed = 1;
    double seconds = 0.0;  // 0: until stopped
    std::string replay;
    double replaySpeed = 1.0;
};

int usage() {
    std::fputs(
        "usage: gpssim [--link PATH] [--rate 1|5|10] [--lat DEG] [--lon DEG] [--heading DEG]\n"
        "              [--length M] [--spacing M] [--bend M] [--speed KMH] [--noise M] [--hdop X]\n"
        "              [--quality N] [--satellites N] [--talker GP|GN] [--gsa] [--gsv]\n"
        "              [--seed N] [--seconds S]\n"
        "       gpssim [--link PATH] --replay LOG [--replay-speed X] [--seconds S]\n",
        stderr);
    return 2;
}

bool parseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--gsa") {
            o.gsa = true;
            continue;
        }
        if (arg == "--gsv") {
            o.gsv = true;
            continue;
        }
        if (i + 1 >= argc) return false;
        const char* value = argv[++i];
        const double number = std::strtod(value, nullptr);
        if (arg == "--link")
            o.link = value;
        else if (arg == "--rate")
            o.rate = static_cast<int>(number);
        else if (arg == "--lat")
            o.path.originLatitude = number;
        else if (arg == "--lon")
            o.path.originLongitude = number;
        else if (arg == "--heading")
            o.path.headingDegrees = number;
        else if (arg == "--length")
            o.path.passLength = number;
        else if (arg == "--spacing")
            o.path.spacing = number;
        else if (arg == "--bend")
            o.path.bendRadius = number;
        else if (arg == "--speed")
            o.speedKmh = number;
        else if (arg == "--noise")
            o.noise = number;
        else if (arg == "--hdop")
            o.hdop = number;
        else if (arg == "--quality")
            o.quality = static_cast<int>(number);
        else if (arg == "--satellites")
            o.satellites = static_cast<int>(number);
        else if (arg == "--talker")
            o.talker = value;
        else if (arg == "--seed")
            o.seed = static_cast<unsigned>(number);
        else if (arg == "--seconds")
            o.seconds = number;
        else if (arg == "--replay")
            o.replay = value;
        else if (arg == "--replay-speed")
            o.replaySpeed = number;
        else
            return false;
    }
    if (o.rate != 1 && o.rate != 5 && o.rate != 10) return false;
    if (o.talker.size() != 2) return false;
    if (o.path.passLength <= 0 || o.path.spacing <= 0 || o.replaySpeed <= 0) return false;
    return true;
}

// The pseudo-terminal: we keep a descriptor of the device side open ourselves, so that the
// master never sees a hang-up while a reader closes and reopens the device, and set it raw so
// that nothing is echoed back before the reader sets the line up.
struct Terminal {
    int master = -1;
    int device = -1;
    std::string path;
};

bool openTerminal(Terminal& t) {
    t.master = posix_openpt(O_RDWR | O_NOCTTY);
    if (t.master < 0 || grantpt(t.master) != 0 || unlockpt(t.master) != 0) return false;
    const char* name = ptsname(t.master);
    if (name == nullptr) return false;
    t.path = name;
    t.device = open(name, O_RDWR | O_NOCTTY);
    if (t.device < 0) return false;
    termios line{};
    if (tcgetattr(t.device, &line) == 0) {
        cfmakeraw(&line);
        tcsetattr(t.device, TCSANOW, &line);
    }
    // Nobody reading: drop sentences rather than stall the clock.
    fcntl(t.master, F_SETFL, fcntl(t.master, F_GETFL) | O_NONBLOCK);
    return true;
}

void send(const Terminal& t, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(t.master, bytes.data() + done, bytes.size() - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

bool timeIsUp(const Options& o, Clock::time_point start) {
    if (stopping) return true;
    return o.seconds > 0 && Clock::now() - start >= std::chrono::duration<double>(o.seconds);
}

// Sleeps until `when`, in short steps so that a stop is noticed at once.
void sleepUntil(Clock::time_point when) {
    while (!stopping && Clock::now() < when) {
        corrections.take();
        const auto step =
            std::min<Clock::duration>(when - Clock::now(), std::chrono::milliseconds(20));
        std::this_thread::sleep_for(step);
    }
}

void setClockFields(SimFix& fix) {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto centis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000 / 10;
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    fix.hour = utc.tm_hour;
    fix.minute = utc.tm_min;
    // Rounded to the tick so a 5 Hz receiver says .00, .20, .40, ...
    fix.second = utc.tm_sec + std::round(static_cast<double>(centis) / 10.0) / 10.0;
    if (fix.second >= 60.0) fix.second = 59.9;
    fix.day = utc.tm_mday;
    fix.month = utc.tm_mon + 1;
    fix.year = utc.tm_year + 1900;
}

void simulate(const Options& o, const Terminal& t) {
    std::mt19937 random(o.seed);
    std::normal_distribution<double> error(0.0, o.noise > 0 ? o.noise : 1.0);
    const double metresPerSecond = o.speedKmh / 3.6;
    const auto period =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / o.rate));
    const Clock::time_point start = Clock::now();
    Clock::time_point next = start;
    for (long tick = 0; !timeIsUp(o, start); ++tick) {
        const double elapsed = static_cast<double>(tick) / o.rate;
        const double east = o.noise > 0 ? error(random) : 0.0;
        const double north = o.noise > 0 ? error(random) : 0.0;
        const FieldPoint point = pointAlongPath(o.path, elapsed * metresPerSecond, east, north);
        SimFix fix;
        setClockFields(fix);
        fix.latitude = point.latitude;
        fix.longitude = point.longitude;
        fix.course = point.course;
        fix.speedKnots = o.speedKmh / 1.852;
        corrections.take();
        const bool rtk = corrections.fresh();
        fix.quality = rtk ? kRtkFixed : o.quality;
        fix.satellites = o.satellites;
        fix.hdop = rtk ? o.hdop * kRtkHdopFactor : o.hdop;
        std::string burst = ggaSentence(fix, o.talker.c_str()) + rmcSentence(fix, o.talker.c_str());
        // The sky changes slowly: once a second is what receivers send.
        if (tick % o.rate == 0) {
            if (o.gsa) burst += gsaSentence(fix, o.talker.c_str());
            if (o.gsv) burst += gsvSentences(fix);
        }
        send(t, burst);
        next += period;
        sleepUntil(next);
    }
}

// Seconds of the day from the time field of a GGA or RMC line; negative when there is none.
double sentenceTime(const std::string& line) {
    if (line.size() < 14 || line[0] != '$') return -1;
    const std::string kind = line.substr(3, 3);
    if (kind != "GGA" && kind != "RMC") return -1;
    const std::size_t comma = line.find(',');
    if (comma == std::string::npos || line.size() < comma + 7) return -1;
    const std::string t = line.substr(comma + 1, line.find(',', comma + 1) - comma - 1);
    if (t.size() < 6) return -1;
    for (int i = 0; i < 6; ++i) {
        if (t[i] < '0' || t[i] > '9') return -1;
    }
    return std::stoi(t.substr(0, 2)) * 3600.0 + std::stoi(t.substr(2, 2)) * 60.0 +
           std::strtod(t.c_str() + 4, nullptr);
}

// Sends the log line by line, keeping the receiver's own pace: each new time in a GGA or RMC
// sentence waits for the time that passed on the receiver (divided by the replay speed).
// Comment lines of the capture are skipped; the log starts over at its end.
bool replay(const Options& o, const Terminal& t) {
    std::ifstream in(o.replay, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "gpssim: cannot read %s: %s\n", o.replay.c_str(),
                     std::strerror(errno));
        return false;
    }
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line[0] == '#') continue;
        lines.push_back(line + "\n");
    }
    const Clock::time_point start = Clock::now();
    Clock::time_point due = start;
    while (!timeIsUp(o, start)) {
        double lastTime = -1;
        for (const std::string& line : lines) {
            if (timeIsUp(o, start)) break;
            const double time = sentenceTime(line);
            if (time >= 0 && lastTime >= 0 && time != lastTime) {
                double gap = time - lastTime;
                if (gap < 0) gap += 86400;
                if (gap > 10) gap = 1;  // a capture with a hole in it
                due += std::chrono::duration_cast<Clock::duration>(
                    std::chrono::duration<double>(gap / o.replaySpeed));
                sleepUntil(due);
            }
            if (time >= 0) lastTime = time;
            send(t, line);
        }
        // One receiver second between the end of the log and its start again.
        due += std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(1.0 / o.replaySpeed));
        sleepUntil(due);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) return usage();
    Terminal terminal;
    if (!openTerminal(terminal)) {
        std::fprintf(stderr, "gpssim: cannot open a pseudo-terminal: %s\n", std::strerror(errno));
        return 1;
    }
    if (!options.link.empty()) {
        unlink(options.link.c_str());
        if (symlink(terminal.path.c_str(), options.link.c_str()) != 0) {
            std::fprintf(stderr, "gpssim: cannot link %s: %s\n", options.link.c_str(),
                         std::strerror(errno));
            return 1;
        }
    }
    corrections.master = terminal.master;
    std::printf("%s\n", terminal.path.c_str());
    std::fflush(stdout);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
    const bool ok =
        options.replay.empty() ? (simulate(options, terminal), true) : replay(options, terminal);
    if (!options.link.empty()) unlink(options.link.c_str());
    corrections.take();
    std::fprintf(stderr, "gpssim: RTCM frames: %llu good, %llu bad\n",
                 static_cast<unsigned long long>(corrections.frames.goodFrames()),
                 static_cast<unsigned long long>(corrections.frames.badFrames()));
    close(terminal.device);
    close(terminal.master);
    return ok ? 0 : 1;
}
