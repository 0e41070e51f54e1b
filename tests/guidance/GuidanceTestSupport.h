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
    if (appState.projection.forwardTransform == nullptr) setUpProjection();
    appState.ui.screenState = state;
    appState.ui.paused = 0;
    appState.settings.speedThreshold = 1.0;
    appState.settings.hdopThreshold = 2.5;
    appState.settings.distanceThreshold = 5;
    appState.settings.distanceThresholdSquared = 25;
    appState.settings.implementHalfWidth = 600;
    appState.settings.implementWidth = 1200;
    appState.settings.arrowTolerance = 10;
    appState.settings.zoom = 3.0f;
    appState.work.plane.originSet = 0;
    appState.work.position = {};
    appState.work.previousPosition = {};
    appState.work.positionSet = 0;
    appState.work.strips.resize(0);
    appState.work.workedArea = 0.0;
    appState.work.distance = 0;
    appState.work.workFull = 0;
    appState.work.pauseMarks.clear();
    appState.work.guidance = {};
    appState.guide.crossTrack = 0.0;
    appState.guide.guideNumber = 0;
    appState.guide.arrowCount = 0;
    appState.guide.steerLeft = 0;
    appState.fix.satellitesUsed = 0;
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
        double east = (appState.work.plane.originX + p.x) / 10.0;
        double north = (appState.work.plane.originY + p.y) / 10.0;
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
