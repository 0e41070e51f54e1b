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
    if (s.settings.reviewStep == 0 || s.settings.vehicleScaleIndex > 4 ||
        !(s.settings.zoom >= 0.001f && s.settings.zoom <= 15.0f))
        std::abort();
    if (!(s.settings.speedThreshold >= 0 && s.settings.speedThreshold <= 27) ||
        !(s.settings.hdopThreshold >= 0 && s.settings.hdopThreshold <= 10))
        std::abort();
    if (s.settings.implementWidth != std::uint16_t(2 * s.settings.implementHalfWidth) ||
        s.settings.reservedBlock[32] != 0)
        std::abort();

    std::uint8_t written[kSettingsFileSize];
    encodeSettings(written);
    decodeSettings(written, sizeof(written));
    std::uint8_t again[kSettingsFileSize];
    encodeSettings(again);
    if (std::memcmp(written, again, sizeof(written)) != 0) std::abort();
    // A whole file the program wrote is taken back unchanged, when its values are ones the
    // buttons and pages can produce.
    if (size >= kSettingsFileSize && data[206] != 0 && data[232] <= 4) {
        float zoom;
        std::memcpy(&zoom, data + 210, sizeof(zoom));
        double speed, hdop;
        std::uint16_t halfWidth;
        std::memcpy(&halfWidth, data, sizeof(halfWidth));
        std::memcpy(&speed, data + 214, sizeof(speed));
        std::memcpy(&hdop, data + 224, sizeof(hdop));
        // A half width whose double overflows the width's 16 bits is replaced, as is a zoom or a
        // threshold out of reach of the buttons.
        bool kept = zoom >= 0.001f && zoom <= 15.0f && speed >= 0 && speed <= 27 && hdop >= 0 &&
                    hdop <= 10 && halfWidth <= 32767;
        std::uint8_t input[kSettingsFileSize];
        std::memcpy(input, data, sizeof(input));
        input[204] = input[205] = 0;
        if (kept && std::memcmp(input, written, sizeof(input)) != 0) std::abort();
    }
    return 0;
}
