#include "app/Conversions.h"

#include <algorithm>
#include <cstdio>
#include <mutex>

#include "app/AppState.h"
#include "app/FixPipeline.h"
#include "app/WorkSession.h"
#include "export/KmlExport.h"
#include "export/ShapefileExport.h"
#include "gpslink/NmeaParser.h"
#include "guidance/Projection.h"
#include "settings/DialogValues.h"

int runKmlConversion(const std::vector<std::string>& files) {
    int failures = 0;
    for (const std::string& file : files) {
        std::string path = file;
        if (!convertShapefileToKml(path, appState.settings.trackColor)) {
            std::fprintf(stderr, "sulcomain: %s: not converted to KML\n", file.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}

namespace {

// The widths the implement page can hold: half the width in centimetres is 16 bits wide.
constexpr double kMaxWidthMetres = 655.0;
constexpr double kNarrowestWidthMetres = 0.02;

bool feedLog(const std::string& log, NmeaParser& parser) {
    std::FILE* file = std::fopen(log.c_str(), "rb");
    if (!file) return false;
    std::uint8_t block[65536];
    std::size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0)
        parser.feed(block, std::uint32_t(got));
    bool good = !std::ferror(file);
    std::fclose(file);
    return good;
}

}  // namespace

int runNmeaImport(const std::string& log, const std::string& save,
                  std::optional<double> widthMetres) {
    AppState& s = appState;
    // A width is stored in even centimetres: below 2 cm it would be none at all, and the work
    // saved without an area.
    if (widthMetres &&
        !(*widthMetres >= kNarrowestWidthMetres && *widthMetres <= kMaxWidthMetres)) {
        std::fprintf(stderr,
                     "sulcomain: --width %g: the implement width must be at least %g and "
                     "at most %g metres\n",
                     *widthMetres, kNarrowestWidthMetres, kMaxWidthMetres);
        return 1;
    }
    if (!s.projection.forwardTransform)
        configureGeodesyData(appState.projection, appState.layout.moduleDir);
    if (!s.projection.forwardTransform) {
        std::fprintf(stderr, "sulcomain: no coordinate transformation available\n");
        return 1;
    }
    const std::uint16_t storedHalfWidth = s.settings.implementHalfWidth;
    if (widthMetres) {
        s.settings.implementHalfWidth = halfWidthCentimetres(*widthMetres);
        s.settings.implementWidth = std::uint16_t(2 * s.settings.implementHalfWidth);
    }

    // A free work, never paused, exactly as the fixes would have arrived from the receiver.
    resetWork();
    s.ui.paused = 0;
    NmeaParser parser;
    parser.setFixCallback([](GPS_POSITION fix) {
        std::lock_guard lock(appState.frameLock);
        processFix(fix, FixUse::FreeWork);
    });
    bool read = feedLog(log, parser);

    int result = 1;
    if (!read) {
        std::fprintf(stderr, "sulcomain: %s: cannot read the log\n", log.c_str());
    } else if (s.work.strips.empty()) {
        std::fprintf(stderr, "sulcomain: %s: no fix of the log made a strip record\n", log.c_str());
    } else if (!exportShapefile(save, appState.work, appState.projection)) {
        std::fprintf(stderr, "sulcomain: %s: the work was not saved\n", save.c_str());
    } else {
        // The figures the panel shows for this work, to the square metre and the decimetre.
        std::printf("%s: %u strip records, %.4f ha, %.4f km, overlap %.4f ha\n", save.c_str(),
                    unsigned(s.work.strips.size()), s.work.groundArea * 1e-6,
                    s.work.distance * 1e-4,
                    std::max(s.work.workedArea - s.work.groundArea, 0.0) * 1e-6);
        result = 0;
    }
    s.settings.implementHalfWidth = storedHalfWidth;
    s.settings.implementWidth = std::uint16_t(2 * storedHalfWidth);
    return result;
}
