#include "export/ShapefileReview.h"

#include <shapefil.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>

#include "export/BasePath.h"
#include "export/WorkFields.h"
#include "export/WorkRing.h"
#include "guidance/Projection.h"

namespace {

// A degree value of the table, read as text so that the C library's locale cannot change it.
std::optional<double> readDegrees(DBFHandle dbf, int field, double limit) {
    if (DBFGetRecordCount(dbf) < 1 || DBFIsAttributeNULL(dbf, 0, field)) return std::nullopt;
    const char* text = DBFReadStringAttribute(dbf, 0, field);
    if (!text) return std::nullopt;
    while (*text == ' ') ++text;
    if (*text == '+') ++text;
    double value = 0.0;
    auto [end, ec] = std::from_chars(text, text + std::strlen(text), value);
    if (ec != std::errc() || !std::isfinite(value) || std::fabs(value) > limit) return std::nullopt;
    return value;
}

// Geographic vertices only: anything else cannot come from a recorded work and would not
// project to the plane.
bool isGeographic(const SHPObject& shape) {
    for (int v = 0; v < shape.nVertices; ++v) {
        double lon = shape.padfX[v], lat = shape.padfY[v];
        if (!(std::fabs(lon) <= 180.0) || !(std::fabs(lat) <= 90.0)) return false;
    }
    return true;
}

// Appends the point pairs of one polygon (left points forward, right points backward) from pair
// first on to the strip records; returns the number loaded. The points keep the plane's
// precision, so the totals replayed are the totals recorded.
std::size_t loadShape(ProjectionTransforms& transforms, WorkPlane& plane, ReviewRecord& review,
                      const SHPObject& shape, std::size_t m, std::size_t first) {
    for (std::size_t j = first; j < m; ++j) {
        std::size_t r = 2 * m - 1 - j;
        std::optional<PlanePoint> left =
            projectFix(transforms, plane, shape.padfX[j], shape.padfY[j]);
        std::optional<PlanePoint> right =
            projectFix(transforms, plane, shape.padfX[r], shape.padfY[r]);
        if (!left || !right) return j - first;
        review.edges.push_back({left->x, left->y, right->x, right->y});
        review.positions.push_back({(left->x + right->x) / 2.0, (left->y + right->y) / 2.0});
        // Left lies a quarter turn counter-clockwise of the direction of travel.
        Vec2 across{right->x - left->x, right->y - left->y};
        across.normalize();
        review.headings.push_back(across.perpendicular());
    }
    return m - first;
}

// The first and last point pair of a ring, in degrees as the file holds them.
struct RingEnds {
    double first[4] = {};
    double last[4] = {};
};
RingEnds ringEnds(const SHPObject& shape, std::size_t m) {
    const double* x = shape.padfX;
    const double* y = shape.padfY;
    return {{x[0], y[0], x[2 * m - 1], y[2 * m - 1]}, {x[m - 1], y[m - 1], x[m], y[m]}};
}

// A segment too long for one shape is saved as several, each beginning with the pair the one
// before ended with: such a shape goes on with the segment instead of starting one.
bool continuesShape(const RingEnds& before, const RingEnds& next) {
    return std::equal(std::begin(before.last), std::end(before.last), std::begin(next.first));
}

}  // namespace

int readShapefileForReview(std::string& path, ProjectionTransforms& transforms, WorkRecord& work,
                           ReviewRecord& review) {
    cutAtExtension(path);
    DBFHandle dbf = DBFOpen(path.c_str(), "rb");
    if (!dbf) return 0;
    std::optional<double> lon, lat;
    if (DBFGetFieldIndex(dbf, "XREF") == kFieldXref &&
        DBFGetFieldIndex(dbf, "YREF") == kFieldYref) {
        lon = readDegrees(dbf, kFieldXref, 180.0);
        lat = readDegrees(dbf, kFieldYref, 90.0);
    }
    DBFClose(dbf);
    // Without an origin there is no plane to rebuild the work in.
    if (!lon || !lat) return 0;

    work = WorkRecord{};
    review = ReviewRecord{};
    // Without the work's own zone there is no plane to rebuild it in.
    if (!setOrigin(transforms, work.plane, *lon, *lat)) return 0;

    SHPHandle shp = SHPOpen(path.c_str(), "rb");
    if (!shp) return 1;
    int count = 0, type = 0;
    SHPGetInfo(shp, &count, &type, nullptr, nullptr);
    if (type != SHPT_POLYGON) {
        SHPClose(shp);
        return 0;
    }
    std::size_t total = 0;
    // The ends of the shape loaded last, when it was loaded whole.
    std::optional<RingEnds> before;
    for (int i = 0; i < count && total < StripRecord::kMaxRecords; ++i) {
        SHPObject* shape = SHPReadObject(shp, i);
        if (!shape) continue;
        int pairs = ringPairCount(*shape);
        if (pairs >= 0 && isGeographic(*shape)) {
            const std::size_t m = std::size_t(pairs);
            std::optional<RingEnds> ends;
            if (m > 0) ends = ringEnds(*shape, m);
            const bool continues = before && ends && continuesShape(*before, *ends);
            if (continues) work.pauseMarks.pop_back();
            const std::size_t loaded =
                loadShape(transforms, work.plane, review, *shape, m, continues ? 1 : 0);
            total += loaded;
            before = loaded + (continues ? 1 : 0) == m ? ends : std::nullopt;
            if (count > 1) work.pauseMarks.push_back(std::uint32_t(total));
        }
        SHPDestroyObject(shape);
    }
    SHPClose(shp);
    return 1;
}
