// nmeadump: what the receiver library makes of a receiver's output, one line per fix.
//
//   nmeadump [FILE]                                  parse a capture (standard input: none or -)
//   nmeadump --device PATH [--baud N] [--seconds S]  read a serial device through the library
//   nmeadump --device gpsd://HOST[:PORT] [--seconds S]  read gpsd's NMEA through the library
//
// With --device the library's own reader does the work, exactly as in the program; without
// --seconds it reads until interrupted.
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "gpslink/GpsdSource.h"
#include "gpslink/NmeaParser.h"
#include "gpslink/SerialPort.h"
#include "gpslink/satlinker.h"
#include "tools/FixLine.h"

namespace {

std::atomic<bool> interrupted{false};

void onSignal(int) {
    interrupted = true;
}

void printFix(GPS_POSITION position) {
    char line[160];
    formatFixLine(position, line, sizeof line);
    std::fputs(line, stdout);
    std::fflush(stdout);
}

int usage() {
    std::fprintf(stderr,
                 "usage: nmeadump [FILE]\n"
                 "       nmeadump --device PATH [--baud N] [--seconds S]\n"
                 "       nmeadump --device gpsd://HOST[:PORT] [--seconds S]\n");
    return 2;
}

int dumpStream(std::FILE* in) {
    static NmeaParser parser;
    parser.setFixCallback(printFix);
    std::uint8_t buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        parser.feed(buffer, static_cast<std::uint32_t>(n));
    }
    return 0;
}

int dumpDevice(const std::string& device, std::uint32_t baud, double seconds) {
    // The library says nothing about a port it cannot open, so try it here first. gpsd is
    // looked for by the library until it answers, like a receiver not plugged in yet.
    gpsd::Address address;
    const bool viaGpsd = gpsd::parseAddress(device, address);
    if (!viaGpsd && device.rfind(gpsd::kScheme, 0) == 0) {
        std::fprintf(stderr, "nmeadump: not a gpsd address: %s\n", device.c_str());
        return 1;
    }
    SerialPort probe;
    if (!viaGpsd &&
        (probe.open(device.c_str(), 0, 0, false) != 0 ||
         probe.configureLine(baud, 8, SerialPort::kNoParity, SerialPort::kOneStopBit) != 0)) {
        const int error = probe.lastError;
        std::fprintf(stderr, "nmeadump: cannot open %s at %u baud: %s\n", device.c_str(), baud,
                     error > 0 ? std::strerror(error) : "invalid setting");
        return 1;
    }
    probe.close();
    setenv("SATLINKER_DEVICE", device.c_str(), 1);
    signal(SIGINT, onSignal);
    signal(SIGTERM, onSignal);
    InitSatlinker(nullptr, printFix, SATLINKERCONFIG{0, baud});
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!interrupted && (seconds <= 0 || std::chrono::steady_clock::now() < end)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    FinishSatlinker();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string device;
    std::string file;
    std::uint32_t baud = 4800;
    double seconds = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--device" && hasValue) {
            device = argv[++i];
        } else if (arg == "--baud" && hasValue) {
            baud = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--seconds" && hasValue) {
            seconds = std::strtod(argv[++i], nullptr);
        } else if (arg == "-h" || arg == "--help") {
            usage();
            return 0;
        } else if ((arg == "-" || arg[0] != '-') && file.empty()) {
            file = arg;
        } else {
            return usage();
        }
    }
    if (!device.empty()) return dumpDevice(device, baud, seconds);
    if (file.empty() || file == "-") return dumpStream(stdin);
    std::FILE* in = std::fopen(file.c_str(), "rb");
    if (in == nullptr) {
        std::fprintf(stderr, "nmeadump: cannot read %s: %s\n", file.c_str(), std::strerror(errno));
        return 1;
    }
    const int result = dumpStream(in);
    std::fclose(in);
    return result;
}
