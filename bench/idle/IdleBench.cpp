// The start screen standing still: what the program costs the cab terminal while the driver
// has not yet begun (the paint loop, the receiver's reader, every other thread).
//
//   idle_cpu_percent        user and system time of the whole process over 10 s, two seconds
//                           after its first start-screen frame, as a share of one core (480 x 640)
//   idle_cpu_percent_1080p  the same on a 1920 x 1080 screen
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "ProgramLaunch.h"

namespace {

// The share of one core, in percent; negative when the program could not be measured.
double idlePercent(const std::string& size) {
    std::string runtimeDir = makeRuntimeDir();
    if (runtimeDir.empty()) return -1;
    LaunchedProgram program;
    if (!launchProgram(runtimeDir, program, size)) {
        std::fprintf(stderr, "bench_idle: cannot start %s\n", programPath().c_str());
        return -1;
    }
    if (waitForFirstFrame(program, 20000) < 0) {
        endProgram(program);
        std::fprintf(stderr, "bench_idle: no first frame; the program said:\n%s\n",
                     program.errorText.c_str());
        return -1;
    }
    letRun(program, 2000);  // start-up work still finishing (fonts, the receiver's first opens)
    double before = cpuSeconds(program);
    auto from = std::chrono::steady_clock::now();
    letRun(program, 10000);
    double after = cpuSeconds(program);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
    endProgram(program);
    std::filesystem::remove_all(runtimeDir);
    if (before < 0 || after < 0) return -1;
    return (after - before) / seconds * 100.0;
}

}  // namespace

int main() {
    const double handheld = idlePercent("480x640");
    if (handheld < 0) return 1;
    std::printf("idle_cpu_percent: %.2f\n", handheld);
    const double cab = idlePercent("1920x1080");
    if (cab < 0) return 1;
    std::printf("idle_cpu_percent_1080p: %.2f\n", cab);
    return 0;
}
