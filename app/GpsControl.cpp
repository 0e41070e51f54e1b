// Starting and stopping the receiver link. The library is told which device to open, when the
// command line names one, through SATLINKER_DEVICE: its two exports take nothing else.
#include "app/GpsControl.h"

#include <cstdint>
#include <cstdlib>
#include <iterator>

#include "app/AppState.h"
#include "app/Corrections.h"
#include "gpslink/satlinker.h"
#include "guidance/FixProcessing.h"

namespace {

// The line speeds of the GPS set-up page's list, by index.
constexpr std::uint32_t kBaudRates[] = {4800,  9600,  14400,  19200,  38400,
                                        56000, 57600, 115200, 128000, 256000};

std::uint32_t baudRateForIndex(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kBaudRates))) return 4800;
    return kBaudRates[index];
}

// The fix goes on to guidance; its copy for the caster is taken first.
void onFixForCasterAndGuidance(GPS_POSITION position) {
    rememberFixForCaster(position);
    onFix(position);
}

}  // namespace

int isGpsRunning() {
    return appState.gpsRunning;
}

void setGpsDeviceOverride(const char* path) {
    if (path == nullptr || path[0] == '\0') {
        unsetenv("SATLINKER_DEVICE");
    } else {
        setenv("SATLINKER_DEVICE", path, 1);
    }
}

// Callers that may find the link running stop it first or ask isGpsRunning; a start while
// running is still safe, since the library ends the old reader before it starts a new one.
void setGpsEnabled(int enable) {
    if (enable != 0) {
        appState.gpsRunning = 0;
        // A new start may be a new field: the next fix fixes the origin and projection zone.
        appState.originSet = 0;
        SATLINKERCONFIG config;
        config.portNumber = appState.gpsPort;
        config.baudRate = baudRateForIndex(appState.gpsBaudIndex);
        InitSatlinker(nullptr, onFixForCasterAndGuidance, config);
        appState.gpsRunning = 1;
        // Corrections run with the link; a restart of the link keeps the same stream going.
        startCorrections();
    } else {
        appState.gpsRunning = 0;
        // Nothing is written to the port once the link closes it.
        stopCorrections();
        FinishSatlinker();
        // Only now: no callback can come after FinishSatlinker has returned to overwrite it.
        appState.fixQuality = 0;
    }
}
