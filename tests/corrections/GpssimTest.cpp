// The simulator takes part: corrections written to its line through the library are counted
// and checked, and with good ones its fix turns RTK fixed with a smaller HDOP.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <string>
#include <thread>

#include "gpslink/satlinker.h"
#include "tests/corrections/RtcmFrames.h"

namespace {

using namespace std::chrono_literals;

std::atomic<int> lastQuality{-1};
std::atomic<float> lastHdop{0};

void keepFix(GPS_POSITION p) {
    lastHdop = p.hdop;
    lastQuality = int(p.fixQuality);
}

std::string readLine(int fd, std::chrono::milliseconds limit) {
    std::string text;
    const auto end = std::chrono::steady_clock::now() + limit;
    char c = 0;
    while (std::chrono::steady_clock::now() < end) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        if (::read(fd, &c, 1) != 1) break;
        if (c == '\n') return text;
        text += c;
    }
    return text;
}

template <typename Condition>
bool eventually(Condition condition, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

TEST(Gpssim, CountsTheFramesAndTurnsRtkFixedOnGoodCorrections) {
    int out[2];
    int err[2];
    ASSERT_EQ(pipe2(out, O_CLOEXEC), 0);
    ASSERT_EQ(pipe2(err, O_CLOEXEC), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        dup2(err[1], 2);
        const std::string program = std::string(SULCO_BINARY_DIR) + "/gpssim";
        execl(program.c_str(), "gpssim", "--rate", "10", "--hdop", "1.5", "--quality", "1",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    const std::string device = readLine(out[0], 5s);
    ASSERT_FALSE(device.empty());
    setenv("SATLINKER_DEVICE", device.c_str(), 1);
    InitSatlinker(nullptr, keepFix, SATLINKERCONFIG{0, 115200});
    ASSERT_TRUE(eventually([] { return lastQuality == 1; }, 5s));
    EXPECT_FLOAT_EQ(lastHdop, 1.5f);

    std::string damaged = rtcmFrame(1077, 40, 9);
    damaged[8] ^= 1;
    const std::string corrections = rtcmEpoch(1) + damaged + rtcmEpoch(2);
    std::size_t sent = 0;
    while (sent < corrections.size()) {
        const int n =
            SatlinkerWrite(corrections.data() + sent, std::uint32_t(corrections.size() - sent));
        ASSERT_GE(n, 0);
        sent += std::size_t(n);
    }
    EXPECT_TRUE(eventually([] { return lastQuality == 4; }, 5s));
    EXPECT_LT(lastHdop, 1.5f);

    FinishSatlinker();
    unsetenv("SATLINKER_DEVICE");
    kill(pid, SIGINT);
    const std::string report = readLine(err[0], 5s);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_EQ(report, "gpssim: RTCM frames: 8 good, 1 bad");
    ::close(out[0]);
    ::close(err[0]);
}

}  // namespace
