// The start screen standing still: what the program costs the cab terminal while the driver
// has not yet begun (the paint loop, the receiver's reader, every other thread).
//
//   idle_cpu_percent  user and system time of the whole process over 10 s, two seconds after
//                     its first start-screen frame, as a share of one core
#include <cstdio>
#include <filesystem>

#include "ProgramLaunch.h"

int main() {
    std::string runtimeDir = makeRuntimeDir();
    if (runtimeDir.empty()) return 1;
    LaunchedProgram program;
    if (!launchProgram(runtimeDir, program)) {
        std::fprintf(stderr, "bench_idle: cannot start %s\n", programPath().c_str());
        return 1;
    }
    if (waitForFirstFrame(program, 20000) < 0) {
        endProgram(program);
        std::fprintf(stderr, "bench_idle: no first frame; the program said:\n%s\n",
                     program.errorText.c_str());
        return 1;
    }
    letRun(program, 2000);  // start-up work still finishing (fonts, the receiver's first opens)
    double before = cpuSeconds(program);
    auto from = std::chrono::steady_clock::now();
    letRun(program, 10000);
    double after = cpuSeconds(program);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
    endProgram(program);
    std::filesystem::remove_all(runtimeDir);
    if (before < 0 || after < 0) return 1;
    std::printf("idle_cpu_percent: %.2f\n", (after - before) / seconds * 100.0);
    return 0;
}
