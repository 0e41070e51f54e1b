#include "ProgramLaunch.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "bench/LeftoverWork.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

int msLeft(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? int(left.count()) : 0;
}

// Reads what is there; false at the end of the pipe.
bool readSome(LaunchedProgram& program) {
    char buffer[4096];
    ssize_t n = read(program.errorPipe, buffer, sizeof buffer);
    if (n <= 0) return false;
    program.errorText.append(buffer, std::size_t(n));
    // Only the start of the text is kept for a report; the rest is drained.
    if (program.errorText.size() > 16384) program.errorText.resize(16384);
    return true;
}

}  // namespace

std::string programPath() {
    return SULCO_PROGRAM;
}

std::string makeRuntimeDir() {
    char folder[] = "/tmp/sulco-bench-run-XXXXXX";
    return mkdtemp(folder) ? std::string(folder) : std::string();
}

bool launchProgram(const std::string& runtimeDir, LaunchedProgram& program,
                   const std::string& size) {
    forgetLeftoverWork();
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) return false;

    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        for (const char* name :
             {"SULCOVANE_REPORT_FIRST_FRAME=", "TMPDIR=", "XDG_RUNTIME_DIR=", "QT_QPA_PLATFORM="})
            if (entry.rfind(name, 0) == 0) entry.clear();
        if (!entry.empty()) env.push_back(entry);
    }
    env.push_back("SULCOVANE_REPORT_FIRST_FRAME=1");
    env.push_back("TMPDIR=" + runtimeDir);
    env.push_back("XDG_RUNTIME_DIR=" + runtimeDir);
    std::vector<char*> envp;
    for (auto& entry : env) envp.push_back(entry.data());
    envp.push_back(nullptr);

    std::string path = programPath();
    std::vector<std::string> args = {path, "-platform", "offscreen", "--size", size};
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 2);

    program = LaunchedProgram{};
    program.started = Clock::now();
    int failed =
        posix_spawn(&program.pid, path.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (failed) {
        close(pipeEnds[0]);
        program.pid = -1;
        return false;
    }
    program.errorPipe = pipeEnds[0];
    return true;
}

double waitForFirstFrame(LaunchedProgram& program, int timeoutMs) {
    const auto deadline = program.started + std::chrono::milliseconds(timeoutMs);
    std::size_t searched = 0;
    while (true) {
        std::size_t at = program.errorText.find("first-frame ", searched);
        if (at != std::string::npos)
            return std::chrono::duration<double, std::milli>(Clock::now() - program.started)
                .count();
        searched = program.errorText.size() > 12 ? program.errorText.size() - 12 : 0;
        pollfd wanted{program.errorPipe, POLLIN, 0};
        int left = msLeft(deadline);
        if (left == 0 || poll(&wanted, 1, left) <= 0) return -1.0;
        if (!readSome(program)) return -1.0;
    }
}

void letRun(LaunchedProgram& program, int ms) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    bool open = program.errorPipe >= 0;
    while (int left = msLeft(deadline)) {
        if (!open) {
            poll(nullptr, 0, left);
            continue;
        }
        pollfd wanted{program.errorPipe, POLLIN, 0};
        if (poll(&wanted, 1, left) > 0 && !readSome(program)) open = false;
    }
}

double cpuSeconds(const LaunchedProgram& program) {
    std::ifstream file("/proc/" + std::to_string(program.pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // utime and stime are fields 14 and 15; counting starts after the command name.
    std::size_t at = stat.rfind(')');
    if (at == std::string::npos) return -1.0;
    const char* field = stat.c_str() + at + 2;
    for (int n = 3; n < 14 && field; ++n) {
        field = std::strchr(field, ' ');
        if (field) ++field;
    }
    if (!field) return -1.0;
    char* end = nullptr;
    double user = std::strtod(field, &end);
    double system = std::strtod(end, nullptr);
    return (user + system) / double(sysconf(_SC_CLK_TCK));
}

void endProgram(LaunchedProgram& program) {
    if (program.pid <= 0) return;
    kill(program.pid, SIGTERM);
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    int status = 0;
    while (waitpid(program.pid, &status, WNOHANG) == 0) {
        if (msLeft(deadline) == 0) {
            kill(program.pid, SIGKILL);
            waitpid(program.pid, &status, 0);
            break;
        }
        letRun(program, 20);
    }
    program.pid = -1;
    if (program.errorPipe >= 0) close(program.errorPipe);
    program.errorPipe = -1;
}
