// The work plane: WGS84 fixes to decimetres (fractions kept) of the UTM zone of the work's first
// fix, relative to that fix, and back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "guidance/PlanePoint.h"

class OGRCoordinateTransformation;

// The transformations between WGS84 and the zone of the work's plane. The forward one lives for
// the whole run and follows each work into its zone; the inverse one is opened for a save.
struct ProjectionTransforms {
    OGRCoordinateTransformation* forwardTransform = nullptr;
    OGRCoordinateTransformation* inverseTransform = nullptr;
};

int configureGeodesyData();
int setUpProjection();
void releaseProjection();
struct UtmZone {
    int zone = 0;
    double centralMeridian = 0.0;
};
UtmZone utmZoneForLongitude(double longitude);
// Fixes the work's plane at this fix; false (and no origin) when no transformation into the fix's
// zone could be made, so that no fix is ever placed in another zone's plane.
bool setOrigin(double longitude, double latitude);
// The fix in the work's plane; nothing when it cannot be projected (no plane, or a transformation
// that fails), rather than degrees taken for metres.
std::optional<PlanePoint> projectFix(double longitude, double latitude);
void openInverseProjection();
void closeInverseProjection();
// False when the point cannot be turned back into degrees; longitude and latitude are then
// left as they were.
bool unprojectPoint(PlanePoint point, double& longitude, double& latitude);
// Paths are UTF-8 already: the 8-bit form is the same text.
const char* toNarrow(std::string_view text);
