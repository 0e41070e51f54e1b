// gpsd as the receiver: the real daemon, run by gpsfake on 127.0.0.1 and a free port, replays a
// captured log; the library reads its NMEA pass-through and must make the same fixes of it as
// of the log read directly. gpsd starts passing sentences only once it has recognised the
// device, so the daemon's fixes are the log's last ones, never others or in another order.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "gpslink/GpsdSource.h"
#include "gpslink/NmeaParser.h"
#include "gpslink/ReceiverLink.h"
#include "tests/gpslink/FixRecorder.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

TEST(GpsdAddress, NamesAndDefaults) {
    gpsd::Address a;
    ASSERT_TRUE(gpsd::parseAddress("gpsd://", a));
    EXPECT_EQ(a.host, "localhost");
    EXPECT_EQ(a.port, "2947");
    ASSERT_TRUE(gpsd::parseAddress("gpsd://127.0.0.1:2948", a));
    EXPECT_EQ(a.host, "127.0.0.1");
    EXPECT_EQ(a.port, "2948");
    ASSERT_TRUE(gpsd::parseAddress("gpsd://tractor-pi", a));
    EXPECT_EQ(a.host, "tractor-pi");
    EXPECT_EQ(a.port, "2947");
    ASSERT_TRUE(gpsd::parseAddress("gpsd://[::1]:3000/", a));
    EXPECT_EQ(a.host, "::1");
    EXPECT_EQ(a.port, "3000");
    for (const char* bad : {"/dev/ttyUSB0", "gpsd:/x", "gpsd://host:0", "gpsd://host:65536",
                            "gpsd://host:12ab", "gpsd://[::1", "gpsd://[::1]x"}) {
        EXPECT_FALSE(gpsd::parseAddress(bad, a)) << bad;
    }
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> directFixes(const std::string& bytes) {
    recorder().clear();
    NmeaParser parser;
    parser.setFixCallback(recordFix);
    parser.feed(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                static_cast<std::uint32_t>(bytes.size()));
    std::lock_guard<std::mutex> lock(recorder().mutex);
    return recorder().lines;
}

int freePort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = -1;
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    ::close(s);
    return port;
}

// gpsfake with its own gpsd, in a process group of its own so that both end together.
class FakeGpsd {
  public:
    FakeGpsd(const fs::path& log, int port) {
        const std::string portText = std::to_string(port);
        std::vector<std::string> args = {"gpsfake", "-1", "-q",     "-n",        "-c",
                                         "0.02",    "-P", portText, log.string()};
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attributes, 0);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawnp(&pid, "gpsfake", &files, &attributes, argv.data(), environ) != 0) pid = -1;
        posix_spawn_file_actions_destroy(&files);
        posix_spawnattr_destroy(&attributes);
    }
    ~FakeGpsd() { end(); }
    bool started() const { return pid > 0; }
    // gpsfake and its daemon stay after the log (they would replay it to the next client):
    // both are ended, as a group.
    void end() {
        if (pid <= 0) return;
        ::kill(-pid, SIGTERM);
        const Clock::time_point limit = Clock::now() + 3s;
        int status = 0;
        while (waitpid(pid, &status, WNOHANG) == 0) {
            if (Clock::now() > limit) {
                ::kill(-pid, SIGKILL);
                waitpid(pid, &status, 0);
                break;
            }
            std::this_thread::sleep_for(20ms);
        }
        // The daemon, not our child, may outlive gpsfake for a moment: its port must be free
        // before the next daemon starts.
        while (::kill(-pid, 0) == 0 && Clock::now() < limit) std::this_thread::sleep_for(20ms);
        if (::kill(-pid, 0) == 0) ::kill(-pid, SIGKILL);
        pid = -1;
    }

  private:
    pid_t pid = -1;
};

// Waits until the recorder's newest line is `last` and nothing came for half a second (the
// log's last time may be repeated), or the time is up.
void waitForLastFix(const std::string& last, Clock::duration limit) {
    const Clock::time_point end = Clock::now() + limit;
    std::size_t seen = 0;
    Clock::time_point lastChange = Clock::now();
    while (Clock::now() < end) {
        {
            std::lock_guard<std::mutex> lock(recorder().mutex);
            const std::size_t count = recorder().lines.size();
            if (count != seen) {
                seen = count;
                lastChange = Clock::now();
            } else if (count != 0 && recorder().lines.back() == last &&
                       Clock::now() - lastChange > 500ms) {
                return;
            }
        }
        std::this_thread::sleep_for(50ms);
    }
}

// The daemon's fixes, but its first (made before the daemon passed the RMC that carries the
// speed), are the direct fixes' last ones.
void expectTailOf(const std::vector<std::string>& direct, const std::vector<std::string>& viaGpsd,
                  std::size_t atLeast) {
    ASSERT_GE(viaGpsd.size(), atLeast) << (viaGpsd.empty() ? "" : viaGpsd.back());
    const std::vector<std::string> tail(viaGpsd.begin() + 1, viaGpsd.end());
    ASSERT_LE(tail.size(), direct.size());
    const std::vector<std::string> directTail(direct.end() - std::ptrdiff_t(tail.size()),
                                              direct.end());
    EXPECT_EQ(tail, directTail);
}

// Two logs in turn, each through its own daemon on the same port: the second daemon stands for
// gpsd restarted, which the link must find again on its own.
TEST(GpsdSource, DaemonFixesEqualTheLogsReadDirectlyAndTheLinkReconnects) {
    const fs::path logs = fs::path(SULCO_SHARED_DIR) / "nmea-logs";
    const fs::path firstLog = logs / "sirfstarv-nmea.log";
    const fs::path secondLog = logs / "nmea-rtk.log";
    const std::vector<std::string> firstDirect = directFixes(readFile(firstLog));
    const std::vector<std::string> secondDirect = directFixes(readFile(secondLog));
    ASSERT_GT(firstDirect.size(), 20u);
    ASSERT_GT(secondDirect.size(), 20u);
    const int port = freePort();
    ASSERT_GT(port, 0);

    recorder().clear();
    ReceiverLink link;
    LinkSettings settings;
    settings.device = "gpsd://127.0.0.1:" + std::to_string(port);
    settings.callback = recordFix;
    link.start(settings);  // before the daemon: the link keeps trying

    std::vector<std::string> firstViaGpsd;
    {
        FakeGpsd daemon(firstLog, port);
        ASSERT_TRUE(daemon.started()) << "gpsfake (Debian gpsd-clients) is needed";
        waitForLastFix(firstDirect.back(), 30s);
        std::lock_guard<std::mutex> lock(recorder().mutex);
        firstViaGpsd = recorder().lines;
        recorder().fixes.clear();
        recorder().lines.clear();
    }
    expectTailOf(firstDirect, firstViaGpsd, 10);

    // The daemon has gone (gpsfake ends it once the log is through and we still listen: it is
    // ended above). The link goes on looking and reads the next daemon on the same address.
    {
        FakeGpsd daemon(secondLog, port);
        ASSERT_TRUE(daemon.started());
        waitForLastFix(secondDirect.back(), 30s);
        link.stop();
    }
    std::vector<std::string> secondViaGpsd;
    {
        std::lock_guard<std::mutex> lock(recorder().mutex);
        secondViaGpsd = recorder().lines;
    }
    expectTailOf(secondDirect, secondViaGpsd, 10);
}

}  // namespace
