// Shared by the work-file tests: a scratch folder, a work built record by record in the plane of
// a fixed origin, and shapefiles written directly with shapelib for the readers to meet.
#pragma once

#include <shapefil.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/WorkSession.h"
#include "guidance/Projection.h"
#include "platform/HeadlessPlatform.h"

namespace work_test {

// A fresh folder under the system's temporary folder, removed with the object.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "sulco-export-XXXXXX");
        path_ = mkdtemp(pattern.data());
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// The origin every test work is recorded at: a field near Vienna.
inline constexpr double kOriginLon = 16.5;
inline constexpr double kOriginLat = 48.25;

// A new work whose origin is fixed at (lon, lat), nothing recorded yet.
inline void beginWork(double lon = kOriginLon, double lat = kOriginLat) {
    if (!appState.projection.forwardTransform) setUpProjection(appState.projection);
    resetWork();
    appState.review.positions.clear();
    appState.review.headings.clear();
    appState.review.edges.clear();
    setOrigin(appState.projection, appState.work.plane, lon, lat);
}

// The recorded strips become the saved work a review replays, and the work starts empty.
inline void handRecordsToReview() {
    appState.review.edges.clear();
    for (std::size_t i = 0; i < appState.work.strips.size(); ++i)
        appState.review.edges.push_back(appState.work.strips[i]);
    appState.work.strips.clear();
}

// One strip record with its edges at (lx, ly) and (rx, ry), decimetres of the plane.
inline void record(double lx, double ly, double rx, double ry) {
    appState.work.strips.push_back({lx, ly, rx, ry});
}

// Records northward steps of 10 dm with a 120 dm implement, starting at y.
inline void driveNorth(int steps, int y = 0, int x = 0) {
    for (int i = 0; i < steps; ++i) record(x - 60, y + 10 * i, x + 60, y + 10 * i);
}

inline void pauseWork() {
    appState.work.pauseMarks.push_back(appState.work.strips.size());
}

// A shape as written to a file: its vertices in file order.
struct Ring {
    std::vector<double> x;
    std::vector<double> y;
};

// Writes base.shp/.shx/.dbf of the given type with one record per shape; the table has the
// fields named (type double, so "XREF" and "YREF" can be placed anywhere), each record holding
// (lon, lat) in "XREF" and "YREF".
inline void writeShapefile(const std::string& base, int type, const std::vector<Ring>& shapes,
                           const std::vector<std::string>& fields = {"NAME", "XREF", "YREF"},
                           double lon = kOriginLon, double lat = kOriginLat) {
    SHPHandle shp = SHPCreate(base.c_str(), type);
    DBFHandle dbf = DBFCreate(base.c_str());
    for (const std::string& field : fields)
        DBFAddField(dbf, field.c_str(), field == "NAME" ? FTString : FTDouble,
                    field == "NAME" ? 260 : 20, field == "NAME" ? 0 : 16);
    for (const Ring& ring : shapes) {
        std::vector<double> x = ring.x, y = ring.y;
        SHPObject* object = SHPCreateSimpleObject(type, int(x.size()), x.data(), y.data(), nullptr);
        int i = SHPWriteObject(shp, -1, object);
        SHPDestroyObject(object);
        for (std::size_t f = 0; f < fields.size(); ++f) {
            if (fields[f] == "NAME")
                DBFWriteStringAttribute(dbf, i, int(f), base.c_str());
            else
                DBFWriteDoubleAttribute(dbf, i, int(f), fields[f] == "YREF" ? lat : lon);
        }
    }
    SHPClose(shp);
    DBFClose(dbf);
}

// A polygon of n vertices: left points going north from lon, right points coming back 0.0016
// degrees (about 120 m) east.
inline Ring northwardRing(int pairs, double lon = kOriginLon, double lat = kOriginLat) {
    Ring ring;
    for (int j = 0; j < pairs; ++j) {
        ring.x.push_back(lon);
        ring.y.push_back(lat + 0.0001 * j);
    }
    for (int j = pairs - 1; j >= 0; --j) {
        ring.x.push_back(lon + 0.0016);
        ring.y.push_back(lat + 0.0001 * j);
    }
    return ring;
}

// The headless platform, installed for the whole test program.
inline platform::HeadlessPlatform& headless() {
    static platform::HeadlessPlatform* instance = [] {
        auto* p = new platform::HeadlessPlatform;
        platform::install(p);
        return p;
    }();
    return *instance;
}

}  // namespace work_test
