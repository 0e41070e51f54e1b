// The library's exports. The program names the receiver's device, when it does, through
// SATLINKER_DEVICE (set by --gps-device); it is read here, on the caller's thread, so the
// reader never touches the environment.
#include <cstdlib>

#include "gpslink/ReceiverLink.h"
#include "gpslink/satlinker.h"

extern "C" SATLINKER_API int InitSatlinker(void*, GpsFixCallback callback, SATLINKERCONFIG config) {
    LinkSettings settings;
    settings.portNumber = config.portNumber;
    settings.baudRate = config.baudRate;
    settings.callback = callback;
    if (const char* device = std::getenv("SATLINKER_DEVICE")) settings.device = device;
    receiverLink().start(settings);
    return 1;
}

extern "C" SATLINKER_API int FinishSatlinker(void) {
    receiverLink().stop();
    return 1;
}

extern "C" SATLINKER_API int32_t SatlinkerWrite(const void* bytes, uint32_t length) {
    if (bytes == nullptr && length != 0) return -1;
    return receiverLink().write(bytes, length);
}
