// Which Linux device a numbered port "COMn:" opens, for the receiver library and for the GPS
// set-up page, which shows the device beside each entry.
//
// The rule: COMn is the n-th serial device present, counted from 0 (COM0 is the first), taking
// USB receivers first and then the board's own lines, in this order of groups:
//   /dev/ttyACM*, /dev/ttyUSB*, /dev/ttyAMA*, /dev/ttyS*
// and within a group by number (ttyUSB2 before ttyUSB10). A /dev/ttyS* line counts only when the
// kernel reports a UART behind it (/sys/class/tty/ttySn/type not 0), since the kernel creates
// those nodes whether or not the hardware exists. A negative n, or one beyond the devices
// present, opens nothing. A receiver unplugged and plugged in again keeps its number as long
// as the devices before it stay.
#pragma once

#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace portnames {

struct SerialDevice {
    int group;             // position of the name's group in the order above
    unsigned long number;  // the digits after the group's prefix
    std::string name;      // e.g. "ttyUSB0"
};

inline constexpr const char* kGroupPrefixes[] = {"ttyACM", "ttyUSB", "ttyAMA", "ttyS"};

// The group of a device name and its number; false when the name is none of ours.
inline bool classifyDevice(const char* name, int& group, unsigned long& number) {
    for (int g = 0; g < 4; ++g) {
        const std::size_t prefix = std::strlen(kGroupPrefixes[g]);
        if (std::strncmp(name, kGroupPrefixes[g], prefix) != 0) continue;
        const char* digits = name + prefix;
        if (*digits < '0' || *digits > '9') return false;
        char* end = nullptr;
        number = std::strtoul(digits, &end, 10);
        if (*end != '\0') return false;
        group = g;
        return true;
    }
    return false;
}

// A ttyS node without a UART behind it reads type 0; a system without the sysfs entry counts
// every node.
inline bool uartPresent(const std::string& sysClassTty, const std::string& name) {
    const std::string path = sysClassTty + "/" + name + "/type";
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr) return true;
    int type = -1;
    const int read = std::fscanf(file, "%d", &type);
    std::fclose(file);
    return read != 1 || type != 0;
}

// The serial devices present, as full paths, in the order the numbered ports take them.
inline std::vector<std::string> serialDevices(const std::string& devDir = "/dev",
                                              const std::string& sysClassTty = "/sys/class/tty") {
    std::vector<SerialDevice> found;
    if (DIR* dir = opendir(devDir.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            SerialDevice device{0, 0, entry->d_name};
            if (!classifyDevice(entry->d_name, device.group, device.number)) continue;
            if (device.group == 3 && !uartPresent(sysClassTty, device.name)) continue;
            found.push_back(device);
        }
        closedir(dir);
    }
    std::sort(found.begin(), found.end(), [](const SerialDevice& a, const SerialDevice& b) {
        if (a.group != b.group) return a.group < b.group;
        if (a.number != b.number) return a.number < b.number;
        return a.name < b.name;
    });
    std::vector<std::string> paths;
    for (const SerialDevice& device : found) paths.push_back(devDir + "/" + device.name);
    return paths;
}

// The device port n opens; empty when there is none.
inline std::string deviceForPort(int portNumber, const std::string& devDir = "/dev",
                                 const std::string& sysClassTty = "/sys/class/tty") {
    if (portNumber < 0) return {};
    const std::vector<std::string> devices = serialDevices(devDir, sysClassTty);
    if (static_cast<std::size_t>(portNumber) >= devices.size()) return {};
    return devices[static_cast<std::size_t>(portNumber)];
}

// The device a port name "COMn:" opens; empty when the name is not of that form or no device
// has that number.
inline std::string deviceForPortName(const char* portName, const std::string& devDir = "/dev",
                                     const std::string& sysClassTty = "/sys/class/tty") {
    if (std::strncmp(portName, "COM", 3) != 0) return {};
    char* end = nullptr;
    const long number = std::strtol(portName + 3, &end, 10);
    if (end == portName + 3 || std::strcmp(end, ":") != 0) return {};
    if (number < 0 || number > 1000000) return {};
    return deviceForPort(static_cast<int>(number), devDir, sysClassTty);
}

}  // namespace portnames
