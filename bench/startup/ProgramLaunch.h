// Starting the real program for the start-up and idle benchmarks: offscreen (at 480 x 640 unless
// another size is asked for), with
// its first-frame report on, in a runtime folder of its own so that another Sulcovane of the
// same user (a test, a colleague's run) neither blocks it nor is raised by it.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>

struct LaunchedProgram {
    pid_t pid = -1;
    int errorPipe = -1;  // the program's stderr
    std::chrono::steady_clock::time_point started;
    std::string errorText;  // what it wrote to stderr, for a failure's report
};

// The program built beside this benchmark.
std::string programPath();
// Starts it; false when it could not be started.
bool launchProgram(const std::string& runtimeDir, LaunchedProgram& program,
                   const std::string& size = "480x640");
// Milliseconds from the launch until the program reported its first start-screen frame;
// negative when it ended or stayed silent for timeoutMs.
double waitForFirstFrame(LaunchedProgram& program, int timeoutMs);
// Lets the program run for the given time, reading its stderr so that it never blocks on a
// full pipe.
void letRun(LaunchedProgram& program, int ms);
// The CPU time the program has used so far (user and system, all threads), in seconds.
double cpuSeconds(const LaunchedProgram& program);
// Ends it as SIGTERM does for the driver (settings saved) and waits; killed after 10 s.
void endProgram(LaunchedProgram& program);
// A fresh private folder (mode 0700) under /tmp; empty on failure.
std::string makeRuntimeDir();
