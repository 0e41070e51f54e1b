// The program's resident memory after an hour's free work, driven in-process on the offscreen
// window system: the start screen, "free work" tapped, the GPS wait, then one hour of fixes at
// 10 a second handed to the fix callback as fast as they go, each followed by the window's
// pending messages (so every fix draws its work screen frame, as on the tractor).
//
// The drive is back-and-forth passes of 400 m one implement width apart with half-circle
// turns, at 25 km/h: every step is longer than the distance filter even after the cut to whole
// decimetres, so each of the 36 000 fixes becomes a strip record, the most an hour can bring.
//
//   rss_start_mb  resident memory with the start screen up
//   rss_mb        resident memory after the hour, the work screen still up
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "app/AppState.h"
#include "app/CommandLine.h"
#include "app/FixPipeline.h"
#include "app/Program.h"
#include "app/WindowProc.h"
#include "bench/LeftoverWork.h"

namespace {

constexpr double kLon0 = 16.5021;
constexpr double kLat0 = 48.2503;
constexpr double kMetresPerDegreeLat = 111200.0;
const double kMetresPerDegreeLon = 111320.0 * std::cos(kLat0 * M_PI / 180.0);
constexpr int kFixes = 36000;  // one hour at 10 fixes a second
constexpr double kKmh = 25.0;
constexpr double kStepMetres = kKmh / 36.0;  // metres per fix at 10 fixes a second
constexpr double kPassMetres = 400.0;

double residentMb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
    return -1.0;
}

void pump(int ms) {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < until) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        usleep(1000);
    }
}

GPS_POSITION fixAt(double eastMetres, double northMetres, float knots) {
    GPS_POSITION fix;
    std::memset(&fix, 0, sizeof fix);
    fix.longitude = kLon0 + eastMetres / kMetresPerDegreeLon;
    fix.latitude = kLat0 + northMetres / kMetresPerDegreeLat;
    fix.speed = knots;
    fix.hdop = 0.9f;
    fix.fixQuality = 2;
    fix.satelliteCount = 11;
    return fix;
}

// The point s metres along the drive: passes north and south, a half circle between them.
GPS_POSITION driveAt(double s, double spacing) {
    const double turn = M_PI * spacing / 2.0;
    const double lap = kPassMetres + turn;
    int pass = int(s / lap);
    double along = s - pass * lap;
    bool north = pass % 2 == 0;
    double x = pass * spacing;
    const float knots = float(kKmh / 1.852);
    if (along < kPassMetres) return fixAt(x, north ? along : kPassMetres - along, knots);
    double a = M_PI * (along - kPassMetres) / turn;  // 0 .. pi across the headland
    double r = spacing / 2.0;
    double y = north ? kPassMetres + r * std::sin(a) : -r * std::sin(a);
    return fixAt(x + r - r * std::cos(a), y, knots);
}

void tap(const ButtonRect& button) {
    int x = (button.left + button.right) / 2, y = (button.top + button.bottom) / 2;
    windowProc(kMsgPenDown, 0, std::intptr_t(packPenPosition(x, y)));
}

bool waitFor(std::uint8_t state, int ms) {
    for (int waited = 0; waited < ms && appState.ui.screenState != state; waited += 50) pump(50);
    return appState.ui.screenState == state;
}

}  // namespace

int main(int argc, char** argv) {
    forgetLeftoverWork();
    // A runtime folder of its own: no other Sulcovane of this user is raised or blocks it. It
    // stays: the instance lock is given up only as the program's last act.
    const std::string folder = "/tmp/sulco-bench-memory-" + std::to_string(getuid());
    mkdir(folder.c_str(), 0700);
    if (access(folder.c_str(), W_OK) != 0) return 1;
    setenv("TMPDIR", folder.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);

    char platformOption[] = "-platform";
    char platformName[] = "offscreen";
    char* qtArgs[] = {argv[0], platformOption, platformName, nullptr};
    int qtArgc = 3;
    (void)argc;
    QApplication application(qtArgc, qtArgs);
    std::setlocale(LC_NUMERIC, "C");

    CommandLine line;
    line.width = 480;
    line.height = 640;
    line.language = "en";
    // No receiver: the fixes come from here.
    line.gpsDevice = folder + "/no-receiver";
    if (!openProgram(line)) {
        std::fprintf(stderr, "bench_memory: the program did not open\n");
        return 1;
    }
    bool ok = waitFor(kStateStart, 10000);
    pump(500);
    double startMb = residentMb();

    const double spacing = appState.settings.implementWidth / 100.0;
    if (ok) {
        tap(appState.layout.btnStartFree);
        // The GPS wait takes a fix from its third poll on; standing fixes until it does.
        for (int waited = 0; waited < 15000 && appState.ui.screenState != kStateFreeWork;
             waited += 100) {
            onFix(driveAt(0.0, spacing));
            pump(100);
        }
        ok = appState.ui.screenState == kStateFreeWork;
    }
    auto from = std::chrono::steady_clock::now();
    if (ok) {
        for (int i = 1; i <= kFixes; ++i) {
            onFix(driveAt(i * kStepMetres, spacing));
            QCoreApplication::processEvents();
        }
        pump(200);
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
    double endMb = residentMb();
    int records = appState.work.strips.size();
    closeProgram(true);
    if (!ok) {
        std::fprintf(stderr, "bench_memory: the free work did not start\n");
        return 1;
    }
    std::fprintf(stderr, "bench_memory: %d strip records, the hour driven in %.1f s\n", records,
                 seconds);
    std::fflush(stderr);
    std::printf("rss_start_mb: %.1f\n", startMb);
    std::printf("rss_mb: %.1f\n", endMb);
    return 0;
}
