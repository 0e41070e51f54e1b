// Shared by the guidance tests: a clean projection and work, and fixes placed on the work plane
// through PROJ's own UTM conversion, independent of the GDAL path under test.
#pragma once

#include <proj.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "gpslink/satlinker.h"
#include "guidance/PlanePoint.h"
#include "guidance/Projection.h"
#include "guidance/WorkPlane.h"
#include "guidance/WorkRecord.h"

namespace guidance_test {

// The projection, plane and work the guidance tests drive, each test's own.
inline ProjectionTransforms projection;
inline ::WorkPlane plane;
inline WorkRecord work;

// A work that has not begun, in a plane that has no origin yet.
inline void resetWork() {
    if (projection.forwardTransform == nullptr) setUpProjection(projection);
    plane = ::WorkPlane{};
    work = WorkRecord{};
}

// Converts between WGS84 and one UTM zone with PROJ directly, longitude first.
class Utm {
  public:
    Utm(int zone, bool north) {
        char target[32];
        std::snprintf(target, sizeof target, "EPSG:%d", (north ? 32600 : 32700) + zone);
        PJ* raw = proj_create_crs_to_crs(nullptr, "EPSG:4326", target, nullptr);
        pj_ = proj_normalize_for_visualization(nullptr, raw);
        proj_destroy(raw);
    }
    ~Utm() { proj_destroy(pj_); }
    Utm(const Utm&) = delete;
    Utm& operator=(const Utm&) = delete;

    bool valid() const { return pj_ != nullptr; }
    void forward(double lon, double lat, double& east, double& north) const {
        PJ_COORD c = proj_trans(pj_, PJ_FWD, proj_coord(lon, lat, 0, 0));
        east = c.xy.x;
        north = c.xy.y;
    }
    void inverse(double east, double north, double& lon, double& lat) const {
        PJ_COORD c = proj_trans(pj_, PJ_INV, proj_coord(east, north, 0, 0));
        lon = c.lp.lam;
        lat = c.lp.phi;
    }

  private:
    PJ* pj_ = nullptr;
};

// Places fixes on the plane of a work whose origin is the fix (lon, lat): fixAt(p) is the fix
// that PROJ places at p.
class PlaneFixes {
  public:
    PlaneFixes(double lon, double lat, ProjectionTransforms& transforms = projection,
               ::WorkPlane& workPlane = plane)
        : utm_(1 + static_cast<int>(std::floor((lon + 180.0) / 6.0)), lat >= 0.0),
          plane_(workPlane) {
        setOrigin(transforms, workPlane, lon, lat);
    }

    void lonLatOf(PlanePoint p, double& lon, double& lat) const {
        double east = (plane_.originX + p.x) / 10.0;
        double north = (plane_.originY + p.y) / 10.0;
        utm_.inverse(east, north, lon, lat);
    }

    GPS_POSITION fixAt(PlanePoint p, float speed = 5.0f, float hdop = 1.0f) const {
        GPS_POSITION fix;
        std::memset(&fix, 0, sizeof fix);
        lonLatOf(p, fix.longitude, fix.latitude);
        fix.speed = speed;
        fix.hdop = hdop;
        fix.fixQuality = 1;
        fix.satelliteCount = 8;
        return fix;
    }

  private:
    Utm utm_;
    const ::WorkPlane& plane_;
};

}  // namespace guidance_test
