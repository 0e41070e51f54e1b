// The work plane: WGS84 fixes to decimetres (fractions kept) of the UTM zone of the work's first
// fix, relative to that fix, and back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "guidance/PlanePoint.h"
#include "guidance/WorkPlane.h"

class OGRCoordinateTransformation;

// The transformations between WGS84 and the zone of the work's plane. The forward one lives for
// the whole run and follows each work into its zone; the inverse one is opened for a save.
struct ProjectionTransforms {
    OGRCoordinateTransformation* forwardTransform = nullptr;
    OGRCoordinateTransformation* inverseTransform = nullptr;
};

// Points GDAL at a "data" folder in moduleDir when there is one, and sets up the transforms.
int configureGeodesyData(ProjectionTransforms& transforms, std::string_view moduleDir);
int setUpProjection(ProjectionTransforms& transforms);
void releaseProjection(ProjectionTransforms& transforms);
struct UtmZone {
    int zone = 0;
    double centralMeridian = 0.0;
};
UtmZone utmZoneForLongitude(double longitude);
// Fixes the work's plane at this fix; false (and no origin) when no transformation into the fix's
// zone could be made, so that no fix is ever placed in another zone's plane.
bool setOrigin(ProjectionTransforms& transforms, WorkPlane& plane, double longitude,
               double latitude);
// The fix in the work's plane; nothing when it cannot be projected (no plane, or a transformation
// that fails), rather than degrees taken for metres.
std::optional<PlanePoint> projectFix(ProjectionTransforms& transforms, WorkPlane& plane,
                                     double longitude, double latitude);
void openInverseProjection(ProjectionTransforms& transforms);
void closeInverseProjection(ProjectionTransforms& transforms);
// False when the point cannot be turned back into degrees; longitude and latitude are then
// left as they were.
bool unprojectPoint(const ProjectionTransforms& transforms, const WorkPlane& plane,
                    PlanePoint point, double& longitude, double& latitude);
// Paths are UTF-8 already: the 8-bit form is the same text.
const char* toNarrow(std::string_view text);
