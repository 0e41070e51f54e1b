// Settings.dat as it may come off a card or an older program: any bytes, any length. Loading
// must never fail, must leave settings the program can work with, and must read back what it
// writes.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/AppState.h"
#include "app/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    decodeSettings(data, size);
    const AppState& s = appState;
    if (s.reviewStep == 0 || s.vehicleScaleIndex > 4 || !std::isfinite(s.zoom) || !(s.zoom > 0))
        std::abort();
    if (s.implementWidth != std::uint16_t(2 * s.implementHalfWidth) || s.reservedBlock[32] != 0)
        std::abort();

    std::uint8_t written[kSettingsFileSize];
    encodeSettings(written);
    decodeSettings(written, sizeof(written));
    std::uint8_t again[kSettingsFileSize];
    encodeSettings(again);
    if (std::memcmp(written, again, sizeof(written)) != 0) std::abort();
    // A whole file the program wrote is taken back unchanged, NaN thresholds included.
    if (size >= kSettingsFileSize && data[206] != 0 && data[232] <= 4) {
        float zoom;
        std::memcpy(&zoom, data + 210, sizeof(zoom));
        bool zoomKept = std::isfinite(zoom) && zoom > 0;
        std::uint8_t input[kSettingsFileSize];
        std::memcpy(input, data, sizeof(input));
        input[204] = input[205] = 0;
        if (zoomKept && std::memcmp(input, written, sizeof(input)) != 0) std::abort();
    }
    return 0;
}
