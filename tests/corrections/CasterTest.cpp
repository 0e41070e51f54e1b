// Against a real caster: RTKLIB's str2str serves a file of RTCM 3 frames as an NTRIP caster on
// 127.0.0.1, the client feeds them through the library into the receiver's port (a
// pseudo-terminal, opened by the library's own serial code), and they arrive byte for byte.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "corrections/NtripClient.h"
#include "gpslink/satlinker.h"
#include "tests/corrections/RtcmFrames.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

int freePort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t size = sizeof a;
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &size);
    ::close(s);
    return ntohs(a.sin_port);
}

bool accepting(int port) {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(std::uint16_t(port));
    const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(s);
    return ok;
}

// str2str reading its input from a pipe, serving it at ntripc://USER:PASSWORD@:PORT/MOUNT.
class Str2str {
  public:
    Str2str(int port, const std::string& mount) {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return;
        pid = fork();
        if (pid == 0) {
            dup2(fds[0], 0);
            const int null = ::open("/dev/null", O_WRONLY);
            dup2(null, 2);
            const std::string out = "ntripc://farmer:secret@:" + std::to_string(port) + "/" + mount;
            execlp("str2str", "str2str", "-out", out.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        ::close(fds[0]);
        input = fds[1];
    }
    ~Str2str() {
        if (input >= 0) ::close(input);
        if (pid > 0) {
            kill(pid, SIGINT);
            int status = 0;
            waitpid(pid, &status, 0);
        }
    }
    void feed(const std::string& bytes) const {
        [[maybe_unused]] const ssize_t n = ::write(input, bytes.data(), bytes.size());
    }

  private:
    pid_t pid = -1;
    int input = -1;
};

// The receiver's side of the line: the test reads what the library wrote to the port.
struct ReceiverEnd {
    int master = -1;
    std::string path;
    ReceiverEnd() {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        grantpt(master);
        unlockpt(master);
        path = ptsname(master);
    }
    ~ReceiverEnd() { ::close(master); }
    std::string readFor(std::size_t want, std::chrono::milliseconds limit) const {
        std::string got;
        const auto end = std::chrono::steady_clock::now() + limit;
        char buffer[4096];
        while (got.size() < want && std::chrono::steady_clock::now() < end) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n > 0) got.append(buffer, std::size_t(n));
        }
        return got;
    }
};

void noFix(GPS_POSITION) {}

class CasterTest : public ::testing::TestWithParam<int> {};

TEST_P(CasterTest, Str2strFramesReachTheReceiverByteForByte) {
    // The file the base station would have logged: a minute of one-second epochs.
    const fs::path dir = fs::temp_directory_path() / ("sulco-caster-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path file = dir / "base.rtcm3";
    std::string frames;
    for (unsigned second = 0; second < 60; ++second) frames += rtcmEpoch(second);
    std::ofstream(file, std::ios::binary) << frames;
    std::ifstream in(file, std::ios::binary);
    const std::string served((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
    ASSERT_EQ(served, frames);

    ReceiverEnd receiver;
    setenv("SATLINKER_DEVICE", receiver.path.c_str(), 1);
    SATLINKERCONFIG config{0, 115200};
    InitSatlinker(nullptr, noFix, config);

    const int port = freePort();
    Str2str caster(port, "BASE");
    const auto limit = std::chrono::steady_clock::now() + 5s;
    while (!accepting(port) && std::chrono::steady_clock::now() < limit) {
        std::this_thread::sleep_for(20ms);
    }
    ASSERT_TRUE(accepting(port)) << "str2str did not start";

    SteadyClock clock;
    NtripClient client(
        clock, [](const std::uint8_t* d, std::uint32_t n) { return SatlinkerWrite(d, n); },
        [] { return std::string(); });
    NtripSettings settings;
    settings.on = true;
    settings.caster = "127.0.0.1";
    settings.port = port;
    settings.mountpoint = "BASE";
    settings.user = "farmer";
    settings.password = "secret";
    settings.version = GetParam();
    client.start(settings);
    while (client.health().state != LinkState::kStreaming &&
           std::chrono::steady_clock::now() < limit + 5s) {
        std::this_thread::sleep_for(20ms);
    }
    ASSERT_EQ(client.health().state, LinkState::kStreaming);
    // In pieces, as a base sends its epochs.
    for (std::size_t at = 0; at < served.size(); at += 997) caster.feed(served.substr(at, 997));
    const std::string got = receiver.readFor(served.size(), 10s);
    EXPECT_EQ(got.size(), served.size());
    EXPECT_TRUE(got == served) << "the receiver's bytes differ from the file's";
    // The count goes up once the write has returned, which may be after the bytes were read.
    const auto counted = std::chrono::steady_clock::now() + 2s;
    while (client.health().bytesForwarded < served.size() &&
           std::chrono::steady_clock::now() < counted) {
        std::this_thread::sleep_for(5ms);
    }
    const CorrectionHealth health = client.health();
    EXPECT_EQ(health.goodFrames, 240u);
    EXPECT_EQ(health.badFrames, 0u);
    EXPECT_EQ(health.bytesForwarded, served.size());
    client.stop();
    FinishSatlinker();
    unsetenv("SATLINKER_DEVICE");
    fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(NtripVersions, CasterTest, ::testing::Values(1, 2));

}  // namespace
