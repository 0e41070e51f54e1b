// Saving a full work (65535 strip records) and converting that file to KML, against GDAL's
// ogr2ogr converting the same file in the same run.
//
//   export_ms             median time of exportShapefile
//   kml_ms                median time of convertShapefileToKml
//   ogr2ogr_ms            median time of "ogr2ogr -f KML" on the same file
//   kml_ratio_vs_ogr2ogr  kml_ms / ogr2ogr_ms
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "export/KmlExport.h"
#include "export/ShapefileExport.h"
#include "guidance/Projection.h"

namespace {

// The largest work the program held while its count was 16 bits wide: the figures stay comparable.
constexpr int kRecords = 65535;

// Passes of 1000 records, 10 dm apart, back and forth 120 dm apart, paused at every headland.
void buildFullWork() {
    setUpProjection(appState.projection);
    setOrigin(appState.projection, appState.work.plane, 16.5, 48.25);
    AppState& s = appState;
    s.work.pauseMarks.clear();
    s.work.strips.clear();
    for (int i = 0; i < kRecords; ++i) {
        int pass = i / 1000, along = i % 1000;
        int x = pass * 120;
        int y = pass % 2 == 0 ? along * 10 : (999 - along) * 10;
        int side = pass % 2 == 0 ? 60 : -60;
        s.work.strips.push_back({double(x - side), double(y), double(x + side), double(y)});
        if (along == 0 && i > 0) s.work.pauseMarks.push_back(std::uint32_t(i));
    }
}

template <typename F>
double medianMs(int runs, F&& work) {
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main() {
    char folder[] = "/tmp/sulco-bench-export-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    const std::string base = std::string(folder) + "/work";
    buildFullWork();

    bool ok = true;
    double exportMs = medianMs(5, [&] {
        ok = exportShapefile(base + ".shp", appState.work, appState.projection) == 1 && ok;
    });
    double kmlMs = medianMs(5, [&] {
        std::string path = base + ".shp";
        ok = convertShapefileToKml(path, appState.settings.trackColor) == 1 && ok;
    });
    const std::string command = "rm -f '" + base + "-ogr.kml' && ogr2ogr -f KML '" + base +
                                "-ogr.kml' '" + base + ".shp' >/dev/null 2>&1";
    double ogrMs = medianMs(5, [&] { ok = std::system(command.c_str()) == 0 && ok; });

    std::printf("export_ms: %.1f\n", exportMs);
    std::printf("kml_ms: %.1f\n", kmlMs);
    std::printf("ogr2ogr_ms: %.1f\n", ogrMs);
    std::printf("kml_ratio_vs_ogr2ogr: %.3f\n", kmlMs / ogrMs);
    std::filesystem::remove_all(folder);
    if (!ok) std::fprintf(stderr, "bench_export: a conversion failed\n");
    return ok ? 0 : 1;
}
