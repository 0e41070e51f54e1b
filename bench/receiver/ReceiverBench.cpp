// The receiver under load, through a pseudo-terminal, as a USB receiver's line would bring it.
//
// receiver_lost: fixes lost over all runs (1 Hz, 10 Hz padded to 11 000 bytes a second, 20 Hz
//   at the same 11 000 bytes a second), each for SULCO_BENCH_SECONDS (default 30) seconds.
// receiver_lag_p99_ms: 99th percentile, over the 10 Hz and 20 Hz runs, of the time from the
//   write of a GGA's last byte to its callback on the library's reader thread.
// receiver_lag_p99_ms_1hz: the same at 1 Hz.
// fix_to_frame_p99_ms: the real program in this process on the offscreen window, an AB line set
//   and guidance running on a 10 Hz stream: 99th percentile of the time from a GGA's last byte
//   on the port to the first guidance frame that shows that fix handed to the window.
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <atomic>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "ProgramHarness.h"
#include "ReceiverStream.h"
#include "app/AppState.h"
#include "app/Program.h"
#include "bench/LeftoverWork.h"
#include "gpslink/satlinker.h"
#include "platform/Platform.h"
#include "platform/QtPlatform.h"

namespace {

using namespace std::chrono_literals;

double millisecondsBetween(BenchClock::time_point from, BenchClock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::mutex arrivalsMutex;
std::vector<std::pair<int, BenchClock::time_point>> arrivals;

void onBenchFix(GPS_POSITION position) {
    const BenchClock::time_point now = BenchClock::now();
    std::lock_guard<std::mutex> lock(arrivalsMutex);
    arrivals.emplace_back(ReceiverStream::fixIndex(position.latitude), now);
}

struct RunResult {
    int lost = 0;
    std::vector<double> lags;
};

RunResult runLibrary(double rateHz, std::size_t bytesPerEpoch, int seconds) {
    RunResult result;
    ReceiverStream stream;
    if (!stream.ok()) {
        result.lost = -1;
        return result;
    }
    setenv("SATLINKER_DEVICE", stream.devicePath().c_str(), 1);
    InitSatlinker(nullptr, onBenchFix, SATLINKERCONFIG{0, 115200});
    std::this_thread::sleep_for(300ms);  // opened and purged
    {
        std::lock_guard<std::mutex> lock(arrivalsMutex);
        arrivals.clear();
    }
    const int epochs = static_cast<int>(rateHz * seconds);
    stream.play(rateHz, bytesPerEpoch, epochs, nullptr);
    std::this_thread::sleep_for(300ms);
    FinishSatlinker();
    unsetenv("SATLINKER_DEVICE");
    std::vector<BenchClock::time_point> arrived(static_cast<std::size_t>(epochs));
    {
        std::lock_guard<std::mutex> lock(arrivalsMutex);
        for (const auto& [fix, at] : arrivals) {
            if (fix >= 0 && fix < epochs && arrived[std::size_t(fix)] == BenchClock::time_point{}) {
                arrived[std::size_t(fix)] = at;
            }
        }
    }
    for (int fix = 0; fix < epochs; ++fix) {
        const BenchClock::time_point sent = stream.ggaWritten[std::size_t(fix)];
        const BenchClock::time_point got = arrived[std::size_t(fix)];
        if (sent == BenchClock::time_point{} || got == BenchClock::time_point{}) {
            ++result.lost;
        } else {
            result.lags.push_back(millisecondsBetween(sent, got));
        }
    }
    std::fprintf(
        stderr,
        "bench_receiver: %g Hz, %zu bytes an epoch: %d fixes, %d lost, lag median %.2f ms, "
        "p99 %.2f ms\n",
        rateHz, bytesPerEpoch, epochs, result.lost, median(result.lags), percentile99(result.lags));
    return result;
}

// Sees every frame the program presents and notes when one first shows a new fix in guidance.
class FrameWatch : public platform::Platform {
  public:
    explicit FrameWatch(platform::Platform& inner) : inner_(inner) {}
    void presentFrame(const std::uint16_t* pixels, int width, int height, int pitch) override {
        inner_.presentFrame(pixels, width, height, pitch);
        // Called under the frame lock: the fix fields are the frame's.
        if (!recording || appState.ui.screenState != kStateGuidance) return;
        const int code = ReceiverStream::hdopCodeOf(appState.fix.hdop);
        if (code == lastCode_) return;
        lastCode_ = code;
        frames.emplace_back(code, BenchClock::now());
    }
    void playSound(const char* name) override { inner_.playSound(name); }
    bool chooseFile(platform::FileDialogMode mode, std::string& path) override {
        return inner_.chooseFile(mode, path);
    }
    void messageBox(const char* text) override { inner_.messageBox(text); }
    void postQuit(int exitCode) override { inner_.postQuit(exitCode); }
    void requestPaint() override { inner_.requestPaint(); }

    std::atomic<bool> recording{false};
    std::vector<std::pair<int, BenchClock::time_point>> frames;

  private:
    platform::Platform& inner_;
    int lastCode_ = -1;
};

// -1 when the program could not be driven into guidance.
double fixToFrameP99(int seconds) {
    ReceiverStream stream;
    if (!stream.ok()) return -1;
    RunningProgram program;
    if (!program.open(stream.devicePath())) {
        std::fprintf(stderr, "bench_receiver: the program did not open\n");
        return -1;
    }
    platform::QtPlatform& qt = *programPlatform();
    FrameWatch watch(qt);
    platform::install(&watch);
    std::atomic<bool> stop{false};
    std::thread receiver([&] { stream.play(10.0, 1100, 1000000, &stop); });

    double p99 = -1;
    program.tap(appState.layout.btnStartAB);
    if (program.reaches(kStateSettingAB, 40s)) {
        runEventsFor(1s);
        program.tapMap();  // A
        runEventsFor(10s);
        program.tapMap();  // B, 90 m further north
    }
    if (program.state() == kStateGuidance) {
        watch.recording = true;
        runEventsFor(std::chrono::seconds(seconds));
        watch.recording = false;
    } else {
        std::fprintf(stderr, "bench_receiver: guidance never started (state %d)\n",
                     int(program.state()));
    }
    stop = true;
    receiver.join();
    program.close();
    platform::install(nullptr);

    std::vector<double> latencies;
    for (const auto& [code, shown] : watch.frames) {
        // The newest fix with this code written before the frame: fixes with the same code are
        // a second apart.
        for (std::size_t fix = stream.ggaWritten.size(); fix-- > 0;) {
            const BenchClock::time_point sent = stream.ggaWritten[fix];
            if (sent == BenchClock::time_point{} || sent > shown) continue;
            if (ReceiverStream::hdopCode(int(fix)) != code) continue;
            latencies.push_back(millisecondsBetween(sent, shown));
            break;
        }
    }
    if (!latencies.empty()) p99 = percentile99(latencies);
    std::fprintf(
        stderr, "bench_receiver: %zu guidance frames with a new fix, median %.2f ms, p99 %.2f ms\n",
        latencies.size(), median(latencies), p99);
    return p99;
}

}  // namespace

int main(int argc, char** argv) {
    forgetLeftoverWork();
    int seconds = 30;
    if (const char* text = std::getenv("SULCO_BENCH_SECONDS"))
        seconds = std::max(2, std::atoi(text));

    const RunResult slow = runLibrary(1.0, 600, seconds);
    const RunResult ten = runLibrary(10.0, 1100, seconds);
    const RunResult twenty = runLibrary(20.0, 550, seconds);
    if (slow.lost < 0 || ten.lost < 0 || twenty.lost < 0) return 1;
    std::vector<double> lags = ten.lags;
    lags.insert(lags.end(), twenty.lags.begin(), twenty.lags.end());
    std::printf("receiver_lost: %d\n", slow.lost + ten.lost + twenty.lost);
    std::printf("receiver_lag_p99_ms: %.2f\n", percentile99(lags));
    std::printf("receiver_lag_p99_ms_1hz: %.2f\n", percentile99(slow.lags));
    std::fflush(stdout);

    // The program in a private folder of its own: no other Sulcovane, no user settings. The
    // folder stays for the next run: the single-instance lock is let go only at the exit.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("bench-receiver-" + std::to_string(getuid()));
    std::filesystem::create_directories(home);
    std::filesystem::permissions(home, std::filesystem::perms::owner_all);
    setenv("XDG_RUNTIME_DIR", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    double frameP99 = -1;
    {
        QApplication application(argc, argv);
        std::setlocale(LC_NUMERIC, "C");
        frameP99 = fixToFrameP99(std::min(seconds, 15));
    }
    if (frameP99 < 0) return 1;
    std::printf("fix_to_frame_p99_ms: %.2f\n", frameP99);
    return 0;
}
