// Shared by the fix pipeline's tests: the program's record with the settings of a fresh
// installation and a work that has not begun, and fixes placed on that work's plane.
#pragma once

#include <cstdint>

#include "app/AppState.h"
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

// Fixes on the plane of the program's work.
class PlaneFixes : public guidance_test::PlaneFixes {
  public:
    PlaneFixes(double lon, double lat)
        : guidance_test::PlaneFixes(lon, lat, appState.projection, appState.work.plane) {}
};

}  // namespace pipeline_test
