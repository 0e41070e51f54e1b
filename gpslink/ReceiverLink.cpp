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
            port.close();
            passesSinceLoss = 0;
        }
    }
}

ReceiverLink& receiverLink() {
    static ReceiverLink link;
    return link;
}
