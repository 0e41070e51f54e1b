// The farm thread's writes without end, for the kill test: a field, a work of it, a line, a
// continued work, over and over, each id printed once its write has been committed.
#include <cmath>
#include <cstdio>
#include <string>

#include "farm/FarmBook.h"

namespace {

FieldShape ring(double lon, double lat, double radius, int points) {
    FieldPolygon p;
    for (int i = 0; i < points; ++i) {
        const double a = 2 * M_PI * i / points;
        p.outer.push_back({lon + radius * 1.5 * std::cos(a), lat + radius * std::sin(a)});
    }
    return {p};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    std::string error;
    std::unique_ptr<FarmBook> book = FarmBook::open(argv[1], error);
    if (!book) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    for (int n = 0;; ++n) {
        const double lon = 11.6 + 0.01 * (n % 50), lat = 48.2 + 0.01 * (n / 50 % 50);
        FieldEntry field;
        field.name = "Feld " + std::to_string(n);
        field.boundary = ring(lon, lat, 0.002, 300);
        field.headland = ring(lon, lat, 0.0018, 300);
        field.headlandPasses = 2;
        field.headlandWidthM = 9.0;
        const std::int64_t fieldId = book->addField(field, error);
        if (fieldId == 0) break;
        std::printf("field %lld\n", static_cast<long long>(fieldId));
        std::fflush(stdout);
        WorkEntry work;
        work.fieldId = fieldId;
        work.startTime = "2026-06-01T08:00:00Z";
        work.groundHa = n;
        const std::int64_t workId = book->saveWork(work, ring(lon, lat, 0.0015, 2000), error);
        if (workId == 0) break;
        std::printf("work %lld\n", static_cast<long long>(workId));
        std::fflush(stdout);
        LineEntry line;
        line.fieldId = fieldId;
        line.path = {{lon, lat}, {lon + 0.001, lat + 0.001}};
        const std::int64_t lineId = book->addLine(line, error);
        if (lineId == 0) break;
        std::printf("line %lld\n", static_cast<long long>(lineId));
        std::fflush(stdout);
        work.id = workId;
        work.groundHa = n + 0.5;
        if (book->saveWork(work, ring(lon, lat, 0.0016, 2000), error) != workId) break;
        std::printf("continued %lld\n", static_cast<long long>(workId));
        std::fflush(stdout);
    }
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
}
