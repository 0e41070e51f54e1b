// Starting and stopping the receiver link. The library is told which device to open, when the
// command line names one or GPS Setup chose gpsd, through SATLINKER_DEVICE: its two exports take
// nothing else.
#include "app/GpsControl.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>

#include "app/AppState.h"
#include "app/Corrections.h"
#include "app/FixPipeline.h"
#include "app/ProgramClock.h"
#include "gpslink/satlinker.h"

namespace {

// The line speeds of the GPS set-up page's list, by index.
constexpr std::uint32_t kBaudRates[] = {4800,  9600,  14400,  19200,  38400,
                                        56000, 57600, 115200, 128000, 256000};

std::uint32_t baudRateForIndex(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kBaudRates))) return 4800;
    return kBaudRates[index];
}

std::string deviceOverride;

// When the receiver was last heard from, or the link started: milliseconds of the program clock.
std::atomic<Millis::rep> lastHeard{0};
// Set by setGpsEnabled only: a link nobody started here has no silence to count.
std::atomic<bool> linkStarted{false};

void noteHeard() {
    lastHeard.store(programClock().now().count(), std::memory_order_relaxed);
}

// On the library's reader thread: the receiver spoke; then the fix goes its usual way.
// Its copy for the caster is taken before guidance sees it.
void onReceiverFix(GPS_POSITION position) {
    noteHeard();
    rememberFixForCaster(position);
    onFix(position);
}

// What the library opens: the command line's device, gpsd when chosen on GPS Setup, else the
// numbered port (SATLINKER_DEVICE unset).
void nameDevice() {
    const char* device = nullptr;
    if (!deviceOverride.empty()) {
        device = deviceOverride.c_str();
    } else if (appState.settings.gpsPort == kGpsdPort) {
        device = kGpsdLocal;
    }
    if (device == nullptr) {
        unsetenv("SATLINKER_DEVICE");
    } else {
        setenv("SATLINKER_DEVICE", device, 1);
    }
}

}  // namespace

bool receiverSilent() {
    if (!appState.ui.gpsRunning || !linkStarted) return false;
    const Millis heard{lastHeard.load(std::memory_order_relaxed)};
    return programClock().now() - heard >= std::chrono::seconds(kSilentSeconds);
}

int isGpsRunning() {
    return appState.ui.gpsRunning;
}

void setGpsDeviceOverride(const char* path) {
    deviceOverride = path == nullptr ? "" : path;
    nameDevice();
}

// Callers that may find the link running stop it first or ask isGpsRunning; a start while
// running is still safe, since the library ends the old reader before it starts a new one.
void setGpsEnabled(int enable) {
    if (enable != 0) {
        appState.ui.gpsRunning = 0;
        // A new start may be a new field: the next fix fixes the origin and projection zone.
        appState.work.plane.originSet = 0;
        SATLINKERCONFIG config;
        config.portNumber = appState.settings.gpsPort;
        config.baudRate = baudRateForIndex(appState.settings.gpsBaudIndex);
        nameDevice();
        noteHeard();  // silence is counted from the start
        linkStarted = true;
        InitSatlinker(nullptr, onReceiverFix, config);
        appState.ui.gpsRunning = 1;
        // Corrections run with the link; a restart of the link keeps the same stream going.
        startCorrections();
    } else {
        appState.ui.gpsRunning = 0;
        linkStarted = false;
        // Nothing is written to the port once the link closes it.
        stopCorrections();
        FinishSatlinker();
        // Only now: no callback can come after FinishSatlinker has returned to overwrite it.
        appState.fix.fixQuality = 0;
    }
}
