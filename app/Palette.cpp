#include "app/Palette.h"

#include <atomic>
#include <chrono>

#include "app/AppState.h"
#include "app/ConfigFile.h"
#include "app/ImageTable.h"
#include "app/NightSwitch.h"
#include "app/ScreenConf.h"
#include "app/SolarElevation.h"

namespace {

// Night colours, COLORREF 0x00BBGGRR: a near-black green ground, a dim ochre strip and amber
// text, none of them brighter than a quarter of full white but the text.
constexpr std::uint32_t kNightBackground = 0x00081408;
constexpr std::uint32_t kNightTrack = 0x00184A6A;
constexpr std::uint32_t kNightText = 0x0030A8F0;
constexpr gfx::Pixel kNightMessageGround = gfx::pixelFromRgb(24, 28, 24);
constexpr gfx::Pixel kNightMessageInk = gfx::pixelFromRgb(240, 168, 48);
constexpr gfx::Pixel kDayMessageGround = 0xFFFF;
constexpr gfx::Pixel kDayMessageInk = 0x0000;

std::atomic<PaletteChoice> choice{PaletteChoice::Day};
bool night = false;  // the palette the pictures are loaded for

// The last fix with a position and a time (under the frame lock).
struct SunFix {
    bool known = false;
    double latitude = 0.0;
    double longitude = 0.0;
    double utc = 0.0;
};
SunFix sunFix;
NightSwitch nightSwitch;

double steadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

PaletteChoice paletteChoice() {
    return choice.load();
}

void setPaletteChoice(PaletteChoice c) {
    choice = c;
    appState.ui.redrawPending = 1;
}

void loadPaletteChoice() {
    choice = readPaletteChoice(configPath());
}

void notePaletteFix(const GPS_POSITION& fix) {
    const GPS_SYSTEMTIME& t = fix.utcTime;
    if (fix.fixQuality == 0 || t.year < 1970 || t.month < 1 || t.month > 12 || t.day < 1 ||
        t.day > 31)
        return;
    sunFix.known = true;
    sunFix.latitude = fix.latitude;
    sunFix.longitude = fix.longitude;
    sunFix.utc =
        utcSeconds(t.year, t.month, t.day, t.hour, t.minute, t.second + t.milliseconds * 1e-3);
}

bool refreshPalette() {
    bool wanted = night;
    switch (choice.load()) {
        case PaletteChoice::Day:
            wanted = false;
            break;
        case PaletteChoice::Night:
            wanted = true;
            break;
        case PaletteChoice::Automatic:
            // Without a fix the palette stays as it is.
            if (sunFix.known) {
                wanted = nightSwitch.update(
                    solarElevation(sunFix.latitude, sunFix.longitude, sunFix.utc), steadySeconds());
            }
            break;
    }
    if (wanted == night) return false;
    night = wanted;
    if (appState.layout.pictureImage) {
        // Loaded pictures are loaded again for the new palette; before the first load there
        // is nothing to change.
        loadBackgroundImage();
        loadScreenImages();
    }
    return true;
}

bool nightPalette() {
    return night;
}

std::uint32_t screenTextColor() {
    return night ? kNightText : appState.settings.textColor;
}
std::uint32_t screenTrackColor() {
    return night ? kNightTrack : appState.settings.trackColor;
}
std::uint32_t screenBackgroundColor() {
    return night ? kNightBackground : appState.settings.backgroundColor;
}
gfx::Pixel messageGround() {
    return night ? kNightMessageGround : kDayMessageGround;
}
gfx::Pixel messageInk() {
    return night ? kNightMessageInk : kDayMessageInk;
}

gfx::Pixel dimmedPixel(gfx::Pixel p) {
    const unsigned r = (p >> 11) & 0x1F, g = (p >> 5) & 0x3F, b = p & 0x1F;
    return gfx::Pixel(((r * 9 / 16) << 11) | ((g * 9 / 16) << 5) | (b * 9 / 16));
}
