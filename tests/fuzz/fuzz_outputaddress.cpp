// The guidance output address from sulcovane.conf: any text parses or is refused, never more.
#include <cstddef>
#include <cstdint>
#include <string>

#include "nmeaout/OutputAddress.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (auto a = parseOutputAddress(text)) {
        if (a->udp && (a->port < 1 || a->port > 65535 || a->host.empty())) __builtin_trap();
        if (!a->udp && (a->device.empty() || a->device.front() != '/')) __builtin_trap();
    }
    return 0;
}
