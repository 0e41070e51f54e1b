// The farm tests' own oracles: exact polygons in a UTM zone turned into degrees and back by GDAL
// directly, and GEOS's area, buffer and symmetric difference of them, none of it through the
// farm library.
#pragma once

#include <geos_c.h>
#include <ogr_spatialref.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "farm/FieldShape.h"

namespace farm_test {

// Zone 32 north (6 to 12 degrees east): Bavarian fields.
constexpr int kZone32 = 32632;

// A polygon in metres of the zone (x east, y north), rings open.
struct Exact {
    std::vector<std::vector<std::array<double, 2>>> rings;  // outer first, then the holes
};

class Transform {
  public:
    explicit Transform(int epsg) {
        OGRSpatialReference geographic, utm;
        geographic.importFromEPSG(4326);
        utm.importFromEPSG(epsg);
        geographic.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        utm.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        toDegrees_ = OGRCreateCoordinateTransformation(&utm, &geographic);
        toMetres_ = OGRCreateCoordinateTransformation(&geographic, &utm);
    }
    ~Transform() {
        OCTDestroyCoordinateTransformation(toDegrees_);
        OCTDestroyCoordinateTransformation(toMetres_);
    }
    Transform(const Transform&) = delete;
    Transform& operator=(const Transform&) = delete;

    LonLat degrees(double x, double y) const {
        toDegrees_->Transform(1, &x, &y);
        return {x, y};
    }
    std::array<double, 2> metres(LonLat p) const {
        double x = p.lon, y = p.lat;
        toMetres_->Transform(1, &x, &y);
        return {x, y};
    }
    FieldShape shape(const std::vector<Exact>& polygons) const {
        FieldShape out;
        for (const Exact& e : polygons) {
            FieldPolygon p;
            for (std::size_t r = 0; r < e.rings.size(); ++r) {
                std::vector<LonLat> ring;
                for (const auto& xy : e.rings[r]) ring.push_back(degrees(xy[0], xy[1]));
                if (r == 0)
                    p.outer = ring;
                else
                    p.holes.push_back(ring);
            }
            out.push_back(p);
        }
        return out;
    }
    // The shape back in metres, as exact polygons.
    std::vector<Exact> exact(const FieldShape& shape) const {
        std::vector<Exact> out;
        for (const FieldPolygon& p : shape) {
            Exact e;
            auto ring = [&](const std::vector<LonLat>& points) {
                std::vector<std::array<double, 2>> r;
                for (const LonLat& q : points) r.push_back(metres(q));
                e.rings.push_back(r);
            };
            ring(p.outer);
            for (const auto& hole : p.holes) ring(hole);
            out.push_back(e);
        }
        return out;
    }

  private:
    OGRCoordinateTransformation* toDegrees_ = nullptr;
    OGRCoordinateTransformation* toMetres_ = nullptr;
};

class Geos {
  public:
    Geos() : h_(GEOS_init_r()) {}
    ~Geos() {
        for (GEOSGeometry* g : owned_) GEOSGeom_destroy_r(h_, g);
        GEOS_finish_r(h_);
    }
    Geos(const Geos&) = delete;
    Geos& operator=(const Geos&) = delete;
    GEOSContextHandle_t h() const { return h_; }

    GEOSGeometry* keep(GEOSGeometry* g) {
        owned_.push_back(g);
        return g;
    }
    GEOSGeometry* polygons(const std::vector<Exact>& shape) {
        std::vector<GEOSGeometry*> parts;
        for (const Exact& e : shape) {
            std::vector<GEOSGeometry*> rings;
            for (const auto& r : e.rings) {
                GEOSCoordSequence* seq = GEOSCoordSeq_create_r(h_, unsigned(r.size() + 1), 2);
                for (unsigned i = 0; i <= r.size(); ++i)
                    GEOSCoordSeq_setXY_r(h_, seq, i, r[i % r.size()][0], r[i % r.size()][1]);
                rings.push_back(GEOSGeom_createLinearRing_r(h_, seq));
            }
            parts.push_back(GEOSGeom_createPolygon_r(h_, rings[0], rings.data() + 1,
                                                     unsigned(rings.size() - 1)));
        }
        return keep(GEOSGeom_createCollection_r(h_, GEOS_MULTIPOLYGON, parts.data(),
                                                unsigned(parts.size())));
    }
    double area(const GEOSGeometry* g) {
        double a = 0.0;
        GEOSArea_r(h_, g, &a);
        return a;
    }
    GEOSGeometry* buffer(const GEOSGeometry* g, double width) {
        return keep(GEOSBuffer_r(h_, g, width, 8));
    }
    double symmetricDifferenceArea(const GEOSGeometry* a, const GEOSGeometry* b) {
        return area(keep(GEOSSymDifference_r(h_, a, b)));
    }
    bool contains(const GEOSGeometry* g, double x, double y) {
        GEOSGeometry* p = keep(GEOSGeom_createPointFromXY_r(h_, x, y));
        return GEOSContains_r(h_, g, p) == 1;
    }
    double distance(const GEOSGeometry* g, double x, double y) {
        GEOSGeometry* p = keep(GEOSGeom_createPointFromXY_r(h_, x, y));
        double d = 0.0;
        GEOSDistance_r(h_, g, p, &d);
        return d;
    }

  private:
    GEOSContextHandle_t h_;
    std::vector<GEOSGeometry*> owned_;
};

// A rectangle's ring with a point every step metres, as a boundary from a farm's software.
inline std::vector<std::array<double, 2>> denseRing(
    const std::vector<std::array<double, 2>>& corners, double step) {
    std::vector<std::array<double, 2>> out;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const auto a = corners[i], b = corners[(i + 1) % corners.size()];
        const double length = std::hypot(b[0] - a[0], b[1] - a[1]);
        const int n = std::max(1, int(length / step));
        for (int k = 0; k < n; ++k)
            out.push_back({a[0] + (b[0] - a[0]) * k / n, a[1] + (b[1] - a[1]) * k / n});
    }
    return out;
}

// A folder of its own for one test, emptied first.
inline std::string freshFolder(const std::string& name) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("sulco-farm-" + std::to_string(::getpid()) + "-" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string();
}

}  // namespace farm_test
