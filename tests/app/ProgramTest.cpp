// The real program as a user starts it: one instance per user, SIGTERM ending it in order, and
// the command line's exits.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

const std::string kProgram = std::string(SULCO_BINARY_DIR) + "/sulcomain";

class Program : public ::testing::Test {
  protected:
    void SetUp() override {
        // A private runtime folder: the single-instance lock of this test is nobody else's.
        runtime_ = fs::temp_directory_path() / ("sulco-program-" + std::to_string(getpid()));
        fs::create_directories(runtime_);
        fs::permissions(runtime_, fs::perms::owner_all);
        setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    void TearDown() override {
        for (pid_t pid : started_) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        fs::remove_all(runtime_);
    }

    pid_t spawn(const std::vector<std::string>& args, const char* out = "/dev/null") {
        std::vector<char*> argv;
        std::string program = kProgram;
        argv.push_back(program.data());
        std::vector<std::string> copy = args;
        for (auto& a : copy) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, out, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, out, O_WRONLY | O_CREAT | O_APPEND, 0644);
        pid_t pid = 0;
        EXPECT_EQ(posix_spawn(&pid, kProgram.c_str(), &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        started_.push_back(pid);
        return pid;
    }

    // The exit code, or -1 when the process has not ended within the time.
    int waitFor(pid_t pid, std::chrono::milliseconds limit) {
        auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                std::erase(started_, pid);
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(20ms);
        }
        return -1;
    }

    fs::path runtime_;
    std::vector<pid_t> started_;
};

TEST_F(Program, SecondStartExitsAtOnceAndSigtermEndsTheFirstInOrder) {
    pid_t first = spawn({"-platform", "offscreen", "--size", "240x320"});
    // Let the first one take the lock and reach its message loop.
    std::this_thread::sleep_for(1500ms);
    ASSERT_EQ(waitFor(first, 10ms), -1) << "the first instance ended by itself";

    auto before = std::chrono::steady_clock::now();
    pid_t second = spawn({"-platform", "offscreen", "--size", "240x320"});
    EXPECT_EQ(waitFor(second, 3000ms), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1500ms);
    EXPECT_EQ(waitFor(first, 10ms), -1) << "the first instance must keep running";

    kill(first, SIGTERM);
    EXPECT_EQ(waitFor(first, 10000ms), 0);
}

TEST_F(Program, VersionHelpAndBadOptions) {
    fs::path out = runtime_ / "out.txt";
    EXPECT_EQ(waitFor(spawn({"--version"}, out.c_str()), 5000ms), 0);
    std::string text;
    {
        FILE* f = fopen(out.c_str(), "r");
        char buffer[256] = {};
        if (f) {
            size_t n = fread(buffer, 1, sizeof buffer - 1, f);
            text.assign(buffer, n);
            fclose(f);
        }
    }
    EXPECT_EQ(text, "Sulcovane Version 3.2\n");
    EXPECT_EQ(waitFor(spawn({"--help"}), 5000ms), 0);
    EXPECT_EQ(waitFor(spawn({"--no-such-option"}), 5000ms), 2);
    EXPECT_EQ(waitFor(spawn({"--size", "big"}), 5000ms), 2);
}

}  // namespace
