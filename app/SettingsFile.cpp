#include "app/SettingsFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <type_traits>

#include "app/AppState.h"
#include "app/BackgroundWrites.h"
#include "app/CoverageConfig.h"
#include "app/FarmConfig.h"
#include "app/GuidanceConfig.h"
#include "app/SectionConfig.h"

namespace {

constexpr std::uint8_t kVehicleScaleCount = 5;
constexpr float kInitialZoom = 3.0f;
constexpr std::uint16_t kInitialHalfWidth = 600;
constexpr std::uint16_t kWidestHalfWidth = 32767;
// What the zoom buttons can reach from any zoom they accept (13 grows once more; 0.002 shrinks
// once more), with room to spare; a zoom far outside it would allocate without bound.
constexpr float kLowestZoom = 0.001f;
constexpr float kHighestZoom = 15.0f;
constexpr double kInitialSpeedThreshold = 1.0;
constexpr double kInitialHdopThreshold = 2.5;
// The settings page's sliders end at 50 km/h (27 knots) and at an HDOP of 10.
constexpr double kHighestSpeedThreshold = 27.0;
constexpr double kHighestHdopThreshold = 10.0;

bool within(double value, double low, double high) {
    return std::isfinite(value) && value >= low && value <= high;
}

// The unsigned integer of a field's width, through which its little-endian bytes pass.
template <std::size_t N>
using UnsignedOfSize = std::conditional_t<
    N == 1, std::uint8_t,
    std::conditional_t<N == 2, std::uint16_t,
                       std::conditional_t<N == 4, std::uint32_t, std::uint64_t>>>;

// Walks the file's fields in order. A field that the bytes do not hold whole keeps its value,
// so a short file restores what it has and nothing half-read.
class FieldReader {
  public:
    FieldReader(const std::uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}

    template <typename T>
    void field(T& field) {
        constexpr std::size_t n = sizeof(T);
        if (size_ >= n && offset_ <= size_ - n) {
            using Bits = UnsignedOfSize<n>;
            Bits bits = 0;
            for (std::size_t i = 0; i < n; ++i) bits |= Bits(Bits(bytes_[offset_ + i]) << (8 * i));
            field = std::bit_cast<T>(bits);
        }
        offset_ += n;
    }
    template <typename T, std::size_t N>
    void field(T (&field)[N]) {
        // One field of the file: all of it is restored, or none.
        if (size_ < sizeof(field) || offset_ > size_ - sizeof(field)) {
            offset_ += sizeof(field);
            return;
        }
        for (T& element : field) this->field(element);
    }

  private:
    const std::uint8_t* bytes_;
    std::size_t size_;
    std::size_t offset_ = 0;
};

class FieldWriter {
  public:
    explicit FieldWriter(std::uint8_t* bytes) : bytes_(bytes) {}

    template <typename T>
    void field(T field) {
        constexpr std::size_t n = sizeof(T);
        using Bits = UnsignedOfSize<n>;
        Bits bits = std::bit_cast<Bits>(field);
        for (std::size_t i = 0; i < n; ++i) bytes_[offset_ + i] = std::uint8_t(bits >> (8 * i));
        offset_ += n;
    }
    template <typename T, std::size_t N>
    void field(const T (&field)[N]) {
        for (const T& element : field) this->field(element);
    }

  private:
    std::uint8_t* bytes_;
    std::size_t offset_ = 0;
};

// The fields of Settings.dat in their order, for reading and for writing alike.
template <typename State, typename Fields>
void eachField(State& s, Fields& f) {
    f.field(s.settings.implementHalfWidth);
    f.field(s.settings.arrowTolerance);
    f.field(s.settings.trackColor);
    f.field(s.settings.customColors[kCustomTrack]);
    f.field(s.settings.backgroundColor);
    f.field(s.settings.customColors[kCustomBackground]);
    f.field(s.settings.reservedBlock);
    f.field(s.settings.reviewStep);
    f.field(s.settings.useWindowsGps);
    f.field(s.settings.gpsPort);
    f.field(s.settings.gpsBaudIndex);
    f.field(s.settings.zoom);
    f.field(s.settings.speedThreshold);
    f.field(s.settings.distanceThreshold);
    f.field(s.settings.hdopThreshold);
    f.field(s.settings.vehicleScaleIndex);
    f.field(s.settings.textColor);
    f.field(s.settings.customColors[kCustomText]);
    f.field(s.settings.showVehicle);
    f.field(s.settings.showGuideNumbers);
}

}  // namespace

// The folder of the program when it may write there; otherwise the user's configuration folder.
std::string settingsFolder() {
    std::string dir = appState.layout.moduleDir;
    if (!dir.empty()) {
        if (dir.back() != '/') dir += '/';
        if (access(dir.c_str(), W_OK) == 0) return dir;
    }
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return std::string(config) + "/sulcovane/";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/.config/sulcovane/";
    return dir;
}

std::string settingsPath() {
    return settingsFolder() + "Settings.dat";
}

void decodeSettings(const std::uint8_t* bytes, std::size_t size) {
    AppState& s = appState;
    FieldReader in(bytes, bytes ? size : 0);
    eachField(s, in);
    // The last unit of the reserved block is not kept from one run to the next.
    s.settings.reservedBlock[32] = 0;

    // A half width whose double does not fit the width's 16 bits is none the Setup page makes
    // (it ends at 655 m): the width would wrap to a narrower one than the strip.
    if (s.settings.implementHalfWidth > kWidestHalfWidth)
        s.settings.implementHalfWidth = kInitialHalfWidth;
    s.settings.implementWidth = std::uint16_t(2 * s.settings.implementHalfWidth);
    // Values the program cannot work with take their initial value; every other value is kept
    // as stored, so that a file the program wrote comes back unchanged.
    if (s.settings.reviewStep == 0) s.settings.reviewStep = 1;
    if (s.settings.vehicleScaleIndex >= kVehicleScaleCount) s.settings.vehicleScaleIndex = 0;
    if (!within(s.settings.zoom, kLowestZoom, kHighestZoom)) s.settings.zoom = kInitialZoom;
    if (!within(s.settings.speedThreshold, 0.0, kHighestSpeedThreshold))
        s.settings.speedThreshold = kInitialSpeedThreshold;
    if (!within(s.settings.hdopThreshold, 0.0, kHighestHdopThreshold))
        s.settings.hdopThreshold = kInitialHdopThreshold;
    s.settings.distanceThresholdSquared =
        std::uint16_t(s.settings.distanceThreshold * s.settings.distanceThreshold);
}

void encodeSettings(std::uint8_t (&bytes)[kSettingsFileSize]) {
    const AppState& s = appState;
    FieldWriter out(bytes);
    eachField(s, out);
}

void loadSettings() {
    std::uint8_t bytes[kSettingsFileSize] = {};
    std::size_t size = 0;
    if (std::FILE* file = std::fopen(settingsPath().c_str(), "rb")) {
        size = std::fread(bytes, 1, sizeof(bytes), file);
        std::fclose(file);
    }
    // A missing file leaves every setting at its initial value; the corrections run anyway.
    decodeSettings(bytes, size);
    loadGuidanceConfig();
    loadCoverageConfig();
    loadFarmConfig();
    loadSectionConfig();
}

namespace {

bool writeSettingsBytes(const std::uint8_t (&bytes)[kSettingsFileSize]) {
    std::string path = settingsPath();
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    // The new file is whole on the disk before it replaces the old one: a full disk or a power
    // cut leaves the old settings, never a short file.
    std::string temporary = path + ".new";
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool written = fd >= 0;
    std::size_t done = 0;
    while (written && done < sizeof bytes) {
        ssize_t n = ::write(fd, bytes + done, sizeof bytes - done);
        if (n < 0 && errno == EINTR) continue;
        written = n > 0;
        if (written) done += std::size_t(n);
    }
    written = written && ::fdatasync(fd) == 0;
    if (fd >= 0 && ::close(fd) != 0) written = false;
    if (written && ::rename(temporary.c_str(), path.c_str()) == 0) {
        if (int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
        return true;
    }
    if (fd >= 0) ::unlink(temporary.c_str());
    std::fprintf(stderr,
                 "sulcomain: %s could not be written; the settings stored before are kept\n",
                 path.c_str());
    return false;
}

}  // namespace

bool writeSettingsFile() {
    std::uint8_t bytes[kSettingsFileSize];
    encodeSettings(bytes);
    return writeSettingsBytes(bytes);
}

// Asked for by the driver (GPS Setup's OK): the settings as they are now are written while the
// screen goes on, and he is told when the disk refused them.
void saveSettings() {
    struct Bytes {
        std::uint8_t value[kSettingsFileSize];
    } bytes;
    encodeSettings(bytes.value);
    writeInBackground([bytes] { return writeSettingsBytes(bytes.value); });
}

// At the end of the program nobody is left to answer a box; the error goes to stderr. A write
// still under way ends first, so that it cannot replace these settings with older ones.
void saveSettingsAtExit() {
    finishBackgroundWrites();
    writeSettingsFile();
}
