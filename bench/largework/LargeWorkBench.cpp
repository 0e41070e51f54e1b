// The program's resident memory with a work of a million strip records loaded: its journal (a
// 36 m implement on passes of 1 km, a record every 0.5 m, paused at every headland, A and B)
// is left beside the program as an interrupted work, the program is opened in-process on the
// offscreen window system, the resume is accepted, and fixes bring the work's guidance screen
// up and draw it for a second.
//
//   rss_1m_mb  resident memory then (goal: under 250)
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/AppState.h"
#include "app/CommandLine.h"
#include "app/FixPipeline.h"
#include "app/Program.h"
#include "app/Texts.h"
#include "app/WindowProc.h"
#include "bench/DrivenJournal.h"
#include "bench/LeftoverWork.h"

namespace {

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

// A fix near the end of the work's last pass, heading north.
GPS_POSITION fixAt(double northMetres) {
    GPS_POSITION fix;
    std::memset(&fix, 0, sizeof fix);
    fix.longitude = 11.6821 + 17964.0 / (111320.0 * std::cos(48.2103 * M_PI / 180.0));
    fix.latitude = 48.2103 + northMetres / 111200.0;
    fix.speed = 5.0f;
    fix.hdop = 0.9f;
    fix.fixQuality = 2;
    fix.satelliteCount = 11;
    return fix;
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
    const std::string folder = "/tmp/sulco-bench-largework-" + std::to_string(getuid());
    mkdir(folder.c_str(), 0700);
    if (access(folder.c_str(), W_OK) != 0) return 1;
    setenv("TMPDIR", folder.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    // The interrupted work, where the program keeps its journal: beside itself.
    std::error_code ignored;
    const auto programFolder =
        std::filesystem::read_symlink("/proc/self/exe", ignored).parent_path();
    if (!writeDrivenJournal(programFolder / "work.journal", kMillionRecordWork)) return 1;

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
    line.gpsDevice = folder + "/no-receiver";
    if (!openProgram(line)) {
        std::fprintf(stderr, "bench_largework: the program did not open\n");
        forgetLeftoverWork();
        return 1;
    }
    bool ok = waitFor(kStateConfirm, 10000) &&
              std::strcmp(appState.ui.promptText, messageText(kMsgResumeQuestion)) == 0;
    if (ok) {
        tap(appState.layout.btnYes);
        // The GPS wait takes a fix from its third poll on; the work goes on in guidance.
        for (int waited = 0; waited < 15000 && appState.ui.screenState != kStateGuidance;
             waited += 100) {
            onFix(fixAt(900.0));
            pump(100);
        }
        ok = appState.ui.screenState == kStateGuidance;
    }
    if (ok) {
        for (int i = 1; i <= 10; ++i) {
            onFix(fixAt(900.0 + i * 0.5));
            pump(100);
        }
    }
    const double mb = residentMb();
    const std::uint32_t records = appState.work.strips.size();
    closeProgram(true);
    forgetLeftoverWork();
    if (!ok || records < std::uint32_t(kMillionRecordWork.records)) {
        std::fprintf(stderr, "bench_largework: the work was not resumed (%u records)\n", records);
        return 1;
    }
    std::printf("rss_1m_mb: %.1f\n", mb);
    return 0;
}
