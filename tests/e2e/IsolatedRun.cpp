#include "IsolatedRun.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* kChildMarker = "SULCO_E2E_FOLDER";
// Generous: a loaded two-core machine under ThreadSanitizer is many times slower than usual.
constexpr auto kChildLimit = 280s;

std::string& folder() {
    static std::string path;
    return path;
}

std::string currentTestName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(info->test_suite_name()) + "." + info->name();
}

// The executable in the private folder: a hard link when the folder is on the same file
// system, a copy otherwise.
bool placeExecutable(const fs::path& to) {
    const fs::path self = fs::read_symlink("/proc/self/exe");
    std::error_code error;
    fs::create_hard_link(self, to, error);
    if (!error) return true;
    return fs::copy_file(self, to, error);
}

int runChild(const fs::path& executable, const fs::path& dir) {
    // A group of its own, so that a child that hangs is ended with its receiver.
    const pid_t pid = spawnTestProgram(
        executable.string(), {"--gtest_filter=" + currentTestName()},
        {"XDG_RUNTIME_DIR=", "XDG_CONFIG_HOME=", "GTEST_"},
        {std::string(kChildMarker) + "=" + dir.string(),
         "XDG_RUNTIME_DIR=" + (dir / "runtime").string(),
         "XDG_CONFIG_HOME=" + (dir / "config").string(), "QT_QPA_PLATFORM=offscreen"},
        true);
    if (pid < 0) return -1;
    const auto end = std::chrono::steady_clock::now() + kChildLimit;
    while (std::chrono::steady_clock::now() < end) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        std::this_thread::sleep_for(50ms);
    }
    kill(-pid, SIGABRT);  // a sanitizer's stack in the log says where it hung
    std::this_thread::sleep_for(3s);
    kill(-pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    return -2;
}

}  // namespace

pid_t spawnTestProgram(const std::string& executable, const std::vector<std::string>& arguments,
                       const std::vector<std::string>& dropped,
                       const std::vector<std::string>& added, bool ownGroup) {
    std::vector<std::string> args = {executable};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const auto startsWith = [&](const std::string& prefix) {
            return entry.rfind(prefix, 0) == 0;
        };
        if (std::none_of(dropped.begin(), dropped.end(), startsWith)) env.push_back(entry);
    }
    env.insert(env.end(), added.begin(), added.end());
    std::vector<char*> argv, envp;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    if (ownGroup) {
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attributes, 0);
    }
    pid_t pid = 0;
    const int error =
        posix_spawn(&pid, executable.c_str(), nullptr, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    return error == 0 ? pid : -1;
}

bool isolatedRun() {
    if (const char* dir = std::getenv(kChildMarker)) {
        folder() = dir;
        return true;
    }
    std::string name = currentTestName();
    for (char& c : name)
        if (c == '/' || c == '.') c = '-';
    const fs::path dir =
        fs::path(SULCO_BINARY_DIR) / "tests" / "e2e-runs" / (name + "-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "runtime");
    fs::create_directories(dir / "config");
    fs::permissions(dir / "runtime", fs::perms::owner_all);
    const fs::path executable = dir / fs::read_symlink("/proc/self/exe").filename();
    if (!placeExecutable(executable)) {
        ADD_FAILURE() << "cannot place the test program in " << dir;
        return false;
    }
    const int code = runChild(executable, dir);
    EXPECT_EQ(code, 0) << "the program's run failed (-2: it hung); its folder: " << dir;
    // A failed run keeps its folder, with Settings.dat and the work files, for a look.
    if (code == 0) fs::remove_all(dir);
    return false;
}

const std::string& privateFolder() {
    return folder();
}
