// Shared by the guidance tests: a clean work state, and fixes placed on the work plane through
// PROJ's own UTM conversion, independent of the GDAL path under test.
#pragma once

#include <proj.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "app/AppState.h"
#include "gpslink/satlinker.h"
#include "guidance/PlanePoint.h"
#include "guidance/Projection.h"

namespace guidance_test {

// The settings as a fresh installation has them, and a work that has not begun.
inline void resetWork(std::uint8_t state = kStateFreeWork) {
    if (appState.forwardTransform == nullptr) setUpProjection();
    appState.screenState = state;
    appState.paused = 0;
    appState.speedThreshold = 1.0;
    appState.hdopThreshold = 2.5;
    appState.distanceThreshold = 5;
    appState.distanceThresholdSquared = 25;
    appState.implementHalfWidth = 600;
    appState.implementWidth = 1200;
    appState.arrowTolerance = 10;
    appState.zoom = 3.0f;
    appState.originSet = 0;
    appState.position = {};
    appState.previousPosition = {};
    appState.positionSet = 0;
    appState.fixCount = 0;
    appState.workedArea = 0.0;
    appState.distance = 0;
    appState.workFull = 0;
    appState.pauseMarks.clear();
    appState.guidance = {};
    appState.crossTrack = 0.0;
    appState.guideNumber = 0;
    appState.arrowCount = 0;
    appState.steerLeft = 0;
    appState.satellitesUsed = 0;
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
class WorkPlane {
  public:
    WorkPlane(double lon, double lat)
        : utm_(1 + static_cast<int>(std::floor((lon + 180.0) / 6.0)), lat >= 0.0) {
        setOrigin(lon, lat);
    }

    void lonLatOf(PlanePoint p, double& lon, double& lat) const {
        double east = (appState.originX + p.x) / 10.0;
        double north = (appState.originY + p.y) / 10.0;
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
};

}  // namespace guidance_test
