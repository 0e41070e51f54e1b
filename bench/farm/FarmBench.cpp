// The farm book as the start screen needs it: a farm of 400 fields, each a boundary of a few
// hundred points with its headland, 10 works (their ground multipolygons) and 5 lines.
//
// farm_open_ms: the median of 5 runs of opening the book, reading it (fields with boundary and
// headland, lines, the works' figures) and ordering the fields by distance from a vehicle in
// the middle of the farm. Goal: under 500 ms.
#include <cpl_conv.h>

#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "farm/FarmBook.h"
#include "farm/FieldGeometry.h"
#include "farm/FieldOrder.h"

namespace {

constexpr int kFields = 400;
constexpr double kLon = 11.60, kLat = 48.20;
constexpr double kMetresLat = 111200.0;
const double kMetresLon = 111320.0 * std::cos(kLat * M_PI / 180.0);

// A field of about 250 x 180 m with wavy edges, as a farm's software draws one: 320 points.
FieldPolygon boundaryAt(double east, double north, double scale) {
    FieldPolygon p;
    for (int i = 0; i < 320; ++i) {
        const double a = 2 * M_PI * i / 320;
        const double r = scale * (1.0 + 0.06 * std::sin(7 * a) + 0.03 * std::cos(13 * a));
        p.outer.push_back({kLon + (east + 125.0 * r * std::cos(a)) / kMetresLon,
                           kLat + (north + 90.0 * r * std::sin(a)) / kMetresLat});
    }
    return p;
}

void buildBook(const std::string& path) {
    // Setting the farm up is not what is measured: its 6400 writes skip the disk's syncs.
    CPLSetConfigOption("OGR_SQLITE_SYNCHRONOUS", "OFF");
    std::string error;
    std::unique_ptr<FarmBook> book = FarmBook::open(path, error);
    if (!book) {
        std::fprintf(stderr, "bench_farm: %s\n", error.c_str());
        std::exit(1);
    }
    for (int f = 0; f < kFields; ++f) {
        const double east = 300.0 * (f % 20), north = 220.0 * (f / 20);
        FieldEntry field;
        field.name = "Feld " + std::to_string(f);
        field.boundary = {boundaryAt(east, north, 1.0)};
        field.areaHa = fieldAreaM2(field.boundary) / 1e4;
        field.headland = headlandLine(field.boundary, 18.0);
        field.headlandPasses = 3;
        field.headlandWidthM = 6.0;
        std::int64_t id = book->addField(field, error);
        for (int w = 0; w < 10 && id; ++w) {
            WorkEntry work;
            work.fieldId = id;
            work.startTime = "2026-06-01T08:00:00Z";
            work.groundHa = 3.2;
            // A work's ground: the field less a few strips, in several pieces.
            FieldShape ground = {boundaryAt(east, north, 0.9 - 0.02 * w),
                                 boundaryAt(east + 20.0, north, 0.2)};
            if (book->saveWork(work, ground, error) == 0) id = 0;
        }
        for (int l = 0; l < 5 && id; ++l) {
            LineEntry line;
            line.fieldId = id;
            line.name = "AB " + std::to_string(l);
            line.a = field.boundary[0].outer[l * 10];
            line.b = field.boundary[0].outer[160 + l * 10];
            line.path = {line.a, line.b};
            if (book->addLine(line, error) == 0) id = 0;
        }
        if (!id) {
            std::fprintf(stderr, "bench_farm: %s\n", error.c_str());
            std::exit(1);
        }
    }
    CPLSetConfigOption("OGR_SQLITE_SYNCHRONOUS", nullptr);
}

}  // namespace

int main() {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("sulco-bench-farm-" + std::to_string(getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "farm.gpkg").string();
    buildBook(path);

    const LonLat vehicle{kLon + 2900.0 / kMetresLon, kLat + 2100.0 / kMetresLat};
    std::vector<double> runs;
    std::size_t fields = 0, works = 0;
    for (int run = 0; run < 5; ++run) {
        const auto start = std::chrono::steady_clock::now();
        std::string error;
        std::unique_ptr<FarmBook> book = FarmBook::open(path, error);
        FarmContents contents;
        if (!book || !book->read(contents, error)) {
            std::fprintf(stderr, "bench_farm: %s\n", error.c_str());
            return 1;
        }
        const std::vector<FieldByDistance> order = fieldsByDistance(contents, vehicle);
        runs.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        fields = order.size();
        works = contents.works.size();
    }
    std::sort(runs.begin(), runs.end());
    if (fields != kFields || works != kFields * 10u) {
        std::fprintf(stderr, "bench_farm: read %zu fields and %zu works\n", fields, works);
        return 1;
    }
    std::printf("farm_open_ms: %.1f\n", runs[runs.size() / 2]);
    std::filesystem::remove_all(folder);
    return 0;
}
