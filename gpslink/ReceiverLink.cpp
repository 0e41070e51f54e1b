#include "gpslink/ReceiverLink.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <dirent.h>
#include <limits.h>
#include <cerrno>
#include <chrono>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "gpslink/GpsdSource.h"
#include "gpslink/PortNames.h"

namespace {

using Clock = std::chrono::steady_clock;

// The stable name of a device: its link in <devDir>/serial/by-id when it has one (a USB
// receiver keeps that name whatever ttyACMn it gets on the next plug), else the name itself.
std::string stableName(const std::string& device, const std::string& devDir) {
    char target[PATH_MAX];
    if (realpath(device.c_str(), target) == nullptr) return device;
    const std::string byId = devDir + "/serial/by-id";
    std::string found = device;
    if (DIR* dir = opendir(byId.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.') continue;
            const std::string link = byId + "/" + entry->d_name;
            char resolved[PATH_MAX];
            if (realpath(link.c_str(), resolved) != nullptr &&
                std::string(resolved) == std::string(target)) {
                found = link;
                break;
            }
        }
        closedir(dir);
    }
    return found;
}

}  // namespace

ReceiverLink::~ReceiverLink() {
    stop();
}

void ReceiverLink::start(const LinkSettings& newSettings) {
    stop();
    settings = newSettings;
    {
        std::lock_guard<std::mutex> lock(connectionMutex);
        held.clear();
    }
    nmeaParser.setFixCallback(settings.callback);
    stopEvent.clear();
    if (!stopEvent.valid()) return;  // a reader that could never be stopped is not started
    try {
        reader = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        // No thread, no fixes: the program's wait for a fix shows it.
    }
}

void ReceiverLink::stop() {
    stopEvent.signal();
    if (reader.joinable()) reader.join();
    stopEvent.clear();
    disconnect();
}

std::string ReceiverLink::heldDevice() const {
    std::lock_guard<std::mutex> lock(connectionMutex);
    return held;
}

bool ReceiverLink::connected() const {
    return connectionFd() >= 0;
}

// Only the reader changes the connection, so it reads these without the lock.
int ReceiverLink::connectionFd() const {
    return port.isOpen() ? port.descriptor() : gpsdSocket;
}

// A named device or gpsd is always that one. A numbered port "COMn:" resolves by the port rule
// until it has opened a device, and from then on means that device only: with the receiver
// unplugged, COMn may name the next serial device present, which is not ours to take.
std::string ReceiverLink::deviceToOpen() const {
    if (!settings.device.empty()) return settings.device;
    {
        std::lock_guard<std::mutex> lock(connectionMutex);
        if (!held.empty()) return held;
    }
    char portName[16] = {};
    std::snprintf(portName, sizeof portName, "COM%d:", settings.portNumber);
    return portnames::deviceForPortName(portName, settings.devDir, settings.sysClassTty);
}

bool ReceiverLink::openSerial(const std::string& device) {
    std::lock_guard<std::mutex> lock(connectionMutex);
    if (port.open(device.c_str(), 0, 0, false) != 0 ||
        port.configureLine(settings.baudRate, 8, SerialPort::kNoParity, SerialPort::kOneStopBit) !=
            0 ||
        port.setReadMode(SerialPort::kNonBlocking) != 0) {
        port.close();
        return false;
    }
    port.purge();
    if (held.empty()) held = settings.device.empty() ? stableName(device, settings.devDir) : device;
    return true;
}

bool ReceiverLink::connect() {
    const std::string device = deviceToOpen();
    if (device.empty()) return false;
    gpsd::Address address;
    if (!gpsd::parseAddress(device, address)) return openSerial(device);
    const int socketFd =
        gpsd::connect(address, stopEvent.descriptor(), kConnectTimeoutMilliseconds);
    if (socketFd < 0) return false;
    std::lock_guard<std::mutex> lock(connectionMutex);
    gpsdSocket = socketFd;
    held = device;
    return true;
}

void ReceiverLink::disconnect() {
    std::lock_guard<std::mutex> lock(connectionMutex);
    port.close();
    if (gpsdSocket >= 0) ::close(gpsdSocket);
    gpsdSocket = -1;
}

// The reader sleeps until bytes arrive, the stop is signalled, or (with nothing open) it is time
// to look for the receiver again. A receiver missing at the start, or one that goes away later
// (a USB plug shaken loose, gpsd restarted), is looked for about once a second for as long as the
// link runs.
void ReceiverLink::run() {
    std::uint8_t buffer[kReadSize];
    Clock::time_point nextAttempt = Clock::now();
    for (;;) {
        int timeout = -1;
        if (!connected()) {
            if (Clock::now() >= nextAttempt) {
                connect();
                nextAttempt = Clock::now() + std::chrono::milliseconds(kRetryMilliseconds);
            }
            if (!connected()) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    nextAttempt - Clock::now());
                timeout = static_cast<int>(std::max<long long>(0, left.count()) + 1);
            }
        }
        const int fd = connectionFd();
        pollfd fds[2] = {{stopEvent.descriptor(), POLLIN, 0}, {fd, POLLIN, 0}};
        const int ready = ::poll(fds, fd >= 0 ? 2 : 1, timeout);
        if (ready < 0 && errno != EINTR) {
            // Nothing sensible to wait on: pause rather than spin, still answering the stop.
            if (stopEvent.wait(std::chrono::milliseconds(kRetryMilliseconds))) return;
            continue;
        }
        if (fds[0].revents != 0) return;  // stop() consumes the event after the join
        if (fd < 0 || fds[1].revents == 0) continue;
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0) {
            nmeaParser.feed(buffer, static_cast<std::uint32_t>(got));
        } else if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
            // Hang-up: the far end closed, the device went away, or the line broke.
            disconnect();
            nextAttempt = Clock::now() + std::chrono::milliseconds(kRetryMilliseconds);
        }
    }
}

// A full output queue holds the writer (back-pressure) for at most this long per call, so that
// a stop never waits on a receiver that does not drain.
std::int32_t ReceiverLink::write(const void* bytes, std::uint32_t length) {
    constexpr int kWaitMilliseconds = 100;
    std::lock_guard<std::mutex> lock(connectionMutex);
    if (!port.isOpen()) return -1;
    std::uint32_t count = 0;
    const std::int32_t error = port.write(bytes, length, &count, kWaitMilliseconds);
    if (count == 0 && error != 0) return -1;
    return static_cast<std::int32_t>(count);
}

ReceiverLink& receiverLink() {
    static ReceiverLink link;
    return link;
}
