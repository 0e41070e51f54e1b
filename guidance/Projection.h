// The work plane: WGS84 fixes to whole decimetres of the UTM zone of the work's first fix,
// relative to that fix, and back.
#pragma once

#include <string>
#include <string_view>

#include "guidance/IntPoint.h"

int configureGeodesyData();
int setUpProjection();
void releaseProjection();
struct UtmZone {
    int zone = 0;
    double centralMeridian = 0.0;
};
UtmZone utmZoneForLongitude(double longitude);
void setOrigin(double longitude, double latitude);
IntPoint projectFix(double longitude, double latitude);
void openInverseProjection();
void closeInverseProjection();
void unprojectPoint(IntPoint point, double& longitude, double& latitude);
// Paths are UTF-8 already: the 8-bit form is the same text.
const char* toNarrow(std::string_view text);
