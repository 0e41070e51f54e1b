// The time from starting the program to its first presented frame of the start screen, as the
// driver waits for it: exec, the libraries, the window system, settings, pictures, projection
// and receiver start-up all included.
//
//   startup_ms   median over seven starts, measured from outside: from the launch to the
//                program's first-frame report
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "ProgramLaunch.h"

int main() {
    std::string runtimeDir = makeRuntimeDir();
    if (runtimeDir.empty()) return 1;
    std::vector<double> times;
    for (int run = 0; run < 7; ++run) {
        LaunchedProgram program;
        if (!launchProgram(runtimeDir, program)) {
            std::fprintf(stderr, "bench_startup: cannot start %s\n", programPath().c_str());
            return 1;
        }
        double ms = waitForFirstFrame(program, 20000);
        endProgram(program);
        if (ms < 0) {
            std::fprintf(stderr, "bench_startup: no first frame; the program said:\n%s\n",
                         program.errorText.c_str());
            return 1;
        }
        times.push_back(ms);
    }
    std::filesystem::remove_all(runtimeDir);
    std::sort(times.begin(), times.end());
    std::printf("startup_ms: %.1f\n", times[times.size() / 2]);
    return 0;
}
