// CPU time of the NMEA parser per sentence over the captured receiver logs, repeated to at
// least 50 MB and fed in reads of 255 bytes as the reader thread does, and the ratio to gpsd's
// gpsdecode decoding the same bytes (its JSON output thrown away).
//
//   bench_nmea [MEGABYTES]     prints nmea_ns_per_sentence and nmea_ratio_vs_gpsdecode
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "gpslink/NmeaParser.h"

namespace {

namespace fs = std::filesystem;

volatile double sink = 0;

void takeFix(GPS_POSITION position) {
    sink = sink + position.latitude;
}

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

std::string captures() {
    std::vector<fs::path> logs;
    for (const auto& entry : fs::directory_iterator(fs::path(SULCO_SHARED_DIR) / "nmea-logs")) {
        if (entry.path().extension() == ".log") logs.push_back(entry.path());
    }
    std::sort(logs.begin(), logs.end());
    std::string all;
    for (const fs::path& log : logs) {
        std::ifstream in(log, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        all += text.str();
    }
    return all;
}

// CPU seconds (user and system) gpsdecode takes for the file; negative when it cannot run.
double gpsdecodeSeconds(const char* path) {
    const pid_t child = fork();
    if (child == 0) {
        const int in = open(path, O_RDONLY);
        const int out = open("/dev/null", O_WRONLY);
        if (in < 0 || out < 0) _exit(127);
        dup2(in, 0);
        dup2(out, 1);
        execlp("gpsdecode", "gpsdecode", static_cast<char*>(nullptr));
        _exit(127);
    }
    if (child < 0) return -1;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) return -1;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

int main(int argc, char** argv) {
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 50.0;
    const std::string logs = captures();
    if (logs.empty()) {
        std::fprintf(stderr, "bench_nmea: no captures in %s/nmea-logs\n", SULCO_SHARED_DIR);
        return 1;
    }
    std::string stream;
    while (static_cast<double>(stream.size()) < megabytes * 1e6) stream += logs;

    static NmeaParser parser;
    parser.setFixCallback(takeFix);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(stream.data());
    const double start = cpuSeconds();
    for (std::size_t at = 0; at < stream.size(); at += 255) {
        const std::size_t n = std::min<std::size_t>(255, stream.size() - at);
        parser.feed(bytes + at, static_cast<std::uint32_t>(n));
    }
    const double ours = cpuSeconds() - start;
    const double sentences = parser.sentenceCount();
    std::printf("nmea_ns_per_sentence: %.1f\n", ours * 1e9 / sentences);

    char path[] = "/tmp/bench_nmea_XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return 1;
    const bool written =
        write(fd, stream.data(), stream.size()) == static_cast<ssize_t>(stream.size());
    close(fd);
    const double theirs = written ? gpsdecodeSeconds(path) : -1;
    unlink(path);
    if (theirs <= 0) {
        std::fprintf(stderr, "bench_nmea: gpsdecode (gpsd-clients) did not run\n");
        return 1;
    }
    std::printf("nmea_ratio_vs_gpsdecode: %.4f\n", ours / theirs);
    return 0;
}
