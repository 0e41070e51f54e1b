// A drive of up and down passes through the real fix callback, and GEOS measures of the
// coverage it leaves: shared by the section control tests and the benchmark of its edges.
#pragma once

#include <geos_c.h>

#include <cmath>
#include <mutex>
#include <vector>

#include "app/AppState.h"
#include "app/FixPipeline.h"
#include "tests/app/PipelineTestSupport.h"

namespace section_drive {

using pipeline_test::PlaneFixes;

constexpr double kLon = 8.55, kLat = 47.4;
constexpr double kHalfWidth = 60.0;  // dm: a 12 m implement of eight 1.5 m sections
constexpr double kSpacing = 90.0;    // dm: passes 0.75 implement widths apart
constexpr double kLength = 2000.0;   // dm: each pass from y = 0 to y = kLength
constexpr int kPasses = 4;

inline void quiet(const char*, ...) {}

class Geos {
  public:
    Geos() : h_(GEOS_init_r()) {
        GEOSContext_setNoticeHandler_r(h_, quiet);
        GEOSContext_setErrorHandler_r(h_, quiet);
    }
    ~Geos() { GEOS_finish_r(h_); }
    GEOSContextHandle_t h() const { return h_; }

    GEOSGeometry* polygon(const std::vector<GroundPoint>& ring) const {
        GEOSCoordSequence* seq = GEOSCoordSeq_create_r(h_, unsigned(ring.size() + 1), 2);
        for (unsigned i = 0; i <= ring.size(); ++i) {
            const GroundPoint& p = ring[i % ring.size()];
            GEOSCoordSeq_setXY_r(h_, seq, i, p.x, p.y);
        }
        return GEOSGeom_createPolygon_r(h_, GEOSGeom_createLinearRing_r(h_, seq), nullptr, 0);
    }
    GEOSGeometry* box(double x0, double y0, double x1, double y1) const {
        return polygon({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
    }
    double area(const GEOSGeometry* g) const {
        double a = 0.0;
        GEOSArea_r(h_, g, &a);
        return a;
    }

  private:
    GEOSContextHandle_t h_;
};

// The work's quads as GEOS polygons, each as the two triangles the program counts it as.
struct Coverage {
    GEOSGeometry* ground = nullptr;  // their union
    double sum = 0.0;                // their areas added: ground worked twice counts twice
};

inline Coverage coverageOf(const Geos& g, const GEOSGeometry* within) {
    const CoverageMap& map = appState.work.coverage;
    std::vector<GEOSGeometry*> parts;
    Coverage c;
    for (std::uint32_t i = 0; i < map.size(); ++i) {
        const StripQuad& q = map.quad(i);
        for (const auto& t : {std::vector<GroundPoint>{q.olderLeft, q.olderRight, q.newerLeft},
                              std::vector<GroundPoint>{q.olderRight, q.newerLeft, q.newerRight}}) {
            GEOSGeometry* tri = g.polygon(t);
            GEOSGeometry* cut = GEOSIntersection_r(g.h(), tri, within);
            GEOSGeom_destroy_r(g.h(), tri);
            c.sum += g.area(cut);
            parts.push_back(cut);
        }
    }
    GEOSGeometry* all = GEOSGeom_createCollection_r(g.h(), GEOS_GEOMETRYCOLLECTION, parts.data(),
                                                    unsigned(parts.size()));
    c.ground = GEOSUnaryUnion_r(g.h(), all);
    GEOSGeom_destroy_r(g.h(), all);
    return c;
}

// The widest strip of a not covered by b, measured as the inset that leaves nothing of it:
// the area of a less b grown by half of width is under a square centimetre when no gap is wider.
inline double uncoveredBeyond(const Geos& g, const GEOSGeometry* a, const GEOSGeometry* b,
                              double width) {
    GEOSGeometry* grown = GEOSBuffer_r(g.h(), b, width / 2, 8);
    GEOSGeometry* left = GEOSDifference_r(g.h(), a, grown);
    const double area = g.area(left);
    GEOSGeom_destroy_r(g.h(), grown);
    GEOSGeom_destroy_r(g.h(), left);
    return area;
}

// Up and down passes kSpacing apart, from 10 m before y = 0 to 10 m beyond length (the last
// ending lastEnd beyond it), turned on half circles outside, a fix every step.
inline std::vector<PlanePoint> passPath(double step, int passes = kPasses, double length = kLength,
                                        double lastEnd = 100.0) {
    std::vector<PlanePoint> path;
    for (int n = 0; n < passes; ++n) {
        const double x = n * kSpacing;
        const bool up = n % 2 == 0;
        const bool last = n + 1 == passes;
        for (double s = -100; s <= length + (last ? lastEnd : 100.0); s += step)
            path.push_back({x, up ? s : length - s});
        if (last) break;
        const double r = kSpacing / 2, cy = up ? length + 100 : -100;
        for (double t = step / r; t < M_PI; t += step / r)
            path.push_back({x + r - r * std::cos(t), cy + (up ? 1 : -1) * r * std::sin(t)});
    }
    return path;
}

// Drives the path through the fix callback at the speed and rate given, with the fixes' own
// times; afterFix runs under the frame lock after each fix.
template <class AfterFix>
void drivePath(const std::vector<PlanePoint>& path, double kmh, int hz, AfterFix afterFix) {
    PlaneFixes plane(kLon, kLat);
    int tick = 0;
    for (const PlanePoint& p : path) {
        GPS_POSITION fix = plane.fixAt(p, float(kmh / 1.852), 0.8f);
        const int hundredths = 36000 * 100 + tick++ * 100 / hz;
        fix.utcTime.hour = std::uint16_t(hundredths / 360000 % 24);
        fix.utcTime.minute = std::uint16_t(hundredths / 6000 % 60);
        fix.utcTime.second = std::uint16_t(hundredths / 100 % 60);
        fix.utcTime.milliseconds = std::uint16_t(hundredths % 100 * 10);
        std::lock_guard lock(appState.frameLock);
        processFix(fix, FixUse::FreeWork);
        afterFix();
    }
}

// The passes of kLength at the speed and rate given.
inline void drivePasses(double kmh, int hz) {
    drivePath(passPath(kmh / 0.36 / hz), kmh, hz, [] {});
}

// A field around the passes whose top runs at 30 degrees to them (they run along y), from
// y = 1200 at its left to higher at its right; its bottom at y = -50 is square to them.
constexpr double kFieldLeft = -kHalfWidth - 50;
constexpr double kFieldRight = (kPasses - 1) * kSpacing + kHalfWidth + 50;
inline double fieldTopAt(double x) {
    return 1200 + (x - kFieldLeft) * std::tan(M_PI / 6);
}
inline std::vector<GroundPoint> slantedFieldRing() {
    return {{kFieldLeft, -50},
            {kFieldRight, -50},
            {kFieldRight, fieldTopAt(kFieldRight)},
            {kFieldLeft, 1200}};
}

}  // namespace section_drive
