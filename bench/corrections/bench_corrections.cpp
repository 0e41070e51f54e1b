// How fast and how cheaply corrections go from the caster to the receiver.
//
//   bench_corrections    prints ntrip_forward_p99_ms (from the caster's write of a frame to
//                        its last byte read on the receiver's side of the port; goal < 10 ms)
//                        and ntrip_client_cpu_percent (the client thread's share of one core
//                        at 2 KB/s of corrections; goal < 0.5)
//
// The caster is a thread of this program on 127.0.0.1; the client and the library are the
// program's own, writing to a pseudo-terminal whose other side this program reads.
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "corrections/Crc24q.h"
#include "corrections/NtripClient.h"
#include "gpslink/satlinker.h"
#include "tests/support/TestCaster.h"

namespace {

using Steady = std::chrono::steady_clock;
using namespace std::chrono_literals;

// A frame carrying its sequence number in the message's bytes 2..5.
std::string frame(std::uint32_t sequence, std::size_t length) {
    std::string f;
    f += char(0xD3);
    f += char((length >> 8) & 3);
    f += char(length & 0xFF);
    f += char(1077 >> 4);
    f += char((1077 & 15) << 4);
    for (int i = 0; i < 4; ++i) f += char((sequence >> (8 * i)) & 0xFF);
    while (f.size() < 3 + length) f += char(f.size() * 37);
    const std::uint32_t crc = crc24q(reinterpret_cast<const std::uint8_t*>(f.data()), f.size());
    f += char(crc >> 16);
    f += char((crc >> 8) & 0xFF);
    f += char(crc & 0xFF);
    return f;
}

// Sends `count` frames of `length` bytes, one every `period`, to the first client of the tests'
// caster, noting when each went out.
struct FrameCaster {
    FrameCaster(int count, std::size_t length, std::chrono::microseconds period)
        : sentAt(std::size_t(count)), caster([=, this](TestCaster& c, int fd, const std::string&) {
              const int on = 1;
              setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
              TestCaster::send(fd, "ICY 200 OK\r\n");
              Steady::time_point next = Steady::now() + 200ms;
              for (int i = 0; i < count && !c.stopping; ++i) {
                  std::this_thread::sleep_until(next);
                  next += period;
                  const std::string f = frame(std::uint32_t(i), length);
                  {
                      std::lock_guard<std::mutex> lock(mutex);
                      sentAt[std::size_t(i)] = Steady::now();
                  }
                  TestCaster::send(fd, f);
              }
              while (!c.stopping) std::this_thread::sleep_for(10ms);
          }) {}

    std::mutex mutex;
    std::vector<Steady::time_point> sentAt;  // by sequence
    TestCaster caster;                       // last: its thread starts once the rest is there
};

void noFix(GPS_POSITION) {}

// Nanoseconds on the CPU of this process's thread named `name`.
long long threadCpuNs(const char* name) {
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string n;
        std::getline(comm, n);
        if (n != name) continue;
        std::ifstream stat(task.path() / "schedstat");
        long long ns = 0;
        stat >> ns;
        return ns;
    }
    return -1;
}

struct Run {
    std::vector<double> latenciesMs;
    double cpuPercent = 0;
    std::size_t bytes = 0;
};

Run run(int count, std::size_t length, std::chrono::microseconds period) {
    Run result;
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    grantpt(master);
    unlockpt(master);
    setenv("SATLINKER_DEVICE", ptsname(master), 1);
    InitSatlinker(nullptr, noFix, SATLINKERCONFIG{0, 115200});
    std::this_thread::sleep_for(100ms);  // the reader opens the port

    FrameCaster caster(count, length, period);
    SteadyClock clock;
    NtripClient client(
        clock, [](const std::uint8_t* d, std::uint32_t n) { return SatlinkerWrite(d, n); },
        [] { return std::string(); });
    NtripSettings s;
    s.on = true;
    s.caster = "127.0.0.1";
    s.port = caster.caster.port;
    s.mountpoint = "BENCH";
    s.version = 1;
    client.start(s);
    std::this_thread::sleep_for(50ms);
    const long long cpuStart = threadCpuNs("ntrip");
    const Steady::time_point wallStart = Steady::now();

    const std::size_t frameSize = 3 + length + 3;
    std::string got;
    std::size_t frames = 0;
    const Steady::time_point end = Steady::now() + period * count + 3s;
    char buffer[8192];
    while (frames < std::size_t(count) && Steady::now() < end) {
        pollfd p{master, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n <= 0) continue;
        const Steady::time_point now = Steady::now();
        got.append(buffer, std::size_t(n));
        while (got.size() >= frameSize) {
            std::uint32_t sequence = 0;
            for (int i = 0; i < 4; ++i)
                sequence |= std::uint32_t(std::uint8_t(got[5 + i])) << (8 * i);
            Steady::time_point sent;
            {
                std::lock_guard<std::mutex> lock(caster.mutex);
                sent = caster.sentAt.at(sequence);
            }
            result.latenciesMs.push_back(
                std::chrono::duration<double, std::milli>(now - sent).count());
            got.erase(0, frameSize);
            ++frames;
            result.bytes += frameSize;
        }
    }
    const long long cpuEnd = threadCpuNs("ntrip");
    const double wallNs =
        std::chrono::duration<double, std::nano>(Steady::now() - wallStart).count();
    result.cpuPercent = 100.0 * double(cpuEnd - cpuStart) / wallNs;
    client.stop();
    FinishSatlinker();
    unsetenv("SATLINKER_DEVICE");
    ::close(master);
    return result;
}

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return -1;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, std::size_t(p * double(v.size())))];
}

}  // namespace

int main() {
    // Latency: 500 frames of a typical MSM size, 20 a second.
    const Run latency = run(500, 200, 50ms);
    if (latency.latenciesMs.size() != 500) {
        std::fprintf(stderr, "bench_corrections: %zu of 500 frames arrived\n",
                     latency.latenciesMs.size());
        return 1;
    }
    std::printf("ntrip_forward_p50_ms: %.3f\n", percentile(latency.latenciesMs, 0.50));
    std::printf("ntrip_forward_p99_ms: %.3f\n", percentile(latency.latenciesMs, 0.99));
    // CPU: 2 KB/s as ten 200-byte frames a second, for 30 s.
    const Run load = run(300, 194, 100ms);
    if (load.latenciesMs.size() != 300) {
        std::fprintf(stderr, "bench_corrections: %zu of 300 frames arrived\n",
                     load.latenciesMs.size());
        return 1;
    }
    std::printf("ntrip_client_cpu_percent: %.4f\n", load.cpuPercent);
    return 0;
}
