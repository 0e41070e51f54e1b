// Shared by the fix pipeline's tests: the program's record with the settings of a fresh
// installation and a work that has not begun, and fixes placed on that work's plane.
#pragma once

#include <cstdint>

#include "app/AppState.h"
#include "app/WorkSession.h"
#include "tests/guidance/GuidanceTestSupport.h"

namespace pipeline_test {

// The settings as a fresh installation has them, and a work that has not begun.
inline void resetWork(std::uint8_t state = kStateFreeWork) {
    if (appState.projection.forwardTransform == nullptr) setUpProjection(appState.projection);
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
    ::resetWork();
    appState.fix.satellitesUsed = 0;
}

// Fixes on the plane of the program's work.
class PlaneFixes : public guidance_test::PlaneFixes {
  public:
    PlaneFixes(double lon, double lat)
        : guidance_test::PlaneFixes(lon, lat, appState.projection, appState.work.plane) {}
};

}  // namespace pipeline_test
