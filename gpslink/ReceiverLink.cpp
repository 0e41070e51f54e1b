#include "gpslink/ReceiverLink.h"

#include <cstdio>
#include <system_error>

#include "gpslink/PortNames.h"

ReceiverLink::~ReceiverLink() {
    stop();
}

void ReceiverLink::start(const LinkSettings& newSettings) {
    stop();
    settings = newSettings;
    nmeaParser.setFixCallback(settings.callback);
    stopEvent.clear();
    try {
        reader = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        // No thread, no fixes: the program's wait for a fix shows it.
    }
}

void ReceiverLink::stop() {
    stopEvent.signal();
    if (reader.joinable()) reader.join();
    std::lock_guard<std::mutex> lock(portLock);
    port.close();
}

// "COMn:" resolves to a device by the numbered-port rule; a device given by name is opened as is.
std::string ReceiverLink::deviceName() const {
    if (!settings.device.empty()) return settings.device;
    char portName[16] = {};
    std::snprintf(portName, sizeof portName, "COM%d:", settings.portNumber);
    return portnames::deviceForPortName(portName);
}

bool ReceiverLink::openPort() {
    const std::string device = deviceName();
    std::lock_guard<std::mutex> lock(portLock);
    if (port.open(device.c_str(), 0, 0, false) != 0 ||
        port.configureLine(settings.baudRate, 8, SerialPort::kNoParity, SerialPort::kOneStopBit) !=
            0 ||
        port.setReadMode(SerialPort::kNonBlocking) != 0) {
        port.close();
        return false;
    }
    port.purge();
    return true;
}

// A port that is missing or refuses its settings ends the reader at once and silently. A port
// that goes away later (a USB plug shaken loose) is closed and looked for again about once a
// second, while the reader keeps answering the stop event within one poll.
void ReceiverLink::run() {
    if (!openPort()) return;
    std::uint8_t buffer[kReadLimit + 1] = {};
    int passesSinceLoss = 0;
    while (!stopEvent.wait(std::chrono::milliseconds(kPollMilliseconds))) {
        if (!port.isOpen()) {
            if (++passesSinceLoss >= kReopenPasses) {
                passesSinceLoss = 0;
                openPort();
            }
            continue;
        }
        std::uint32_t count = 0;
        port.read(buffer, kReadLimit, &count);
        if (count != 0) {
            nmeaParser.feed(buffer, count);
        } else if (deviceHasGone(port.lastError)) {
            std::lock_guard<std::mutex> lock(portLock);
            port.close();
            passesSinceLoss = 0;
        }
    }
}

// A full output queue holds the writer (back-pressure) for at most this long per call, so that
// a stop never waits on a receiver that does not drain.
std::int32_t ReceiverLink::write(const void* bytes, std::uint32_t length) {
    constexpr int kWaitMilliseconds = 100;
    std::lock_guard<std::mutex> lock(portLock);
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
