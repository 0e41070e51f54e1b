// The work plane: GDAL transforms WGS84 fixes into the UTM zone of the work's first fix; the
// plane is that zone in decimetres, shifted so that the first fix is (0, 0). Nothing is rounded:
// a grid would bias every position toward the origin and move the guidance in steps.
#include "guidance/Projection.h"

#include <ogr_spatialref.h>

#include <cpl_conv.h>
#include <cmath>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/AppState.h"

namespace {

// The WGS84 geographic system, source of every forward transformation. It lives for the whole
// run and is never destroyed: at exit PROJ's own tables may already be gone, and its destructor
// would reach into them. Built on first use, so it never depends on the order of globals.
OGRSpatialReference& wgs84Geographic() {
    static OGRSpatialReference* system = new OGRSpatialReference();
    return *system;
}

// GDAL 3 takes geographic coordinates as latitude, longitude unless told otherwise; our fixes
// and our files are longitude first everywhere.
void useLongitudeFirst(OGRSpatialReference& system) {
    system.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
}

// Transforms one point in place; false, with the point unchanged, when GDAL fails or gives
// something that is no coordinate.
bool transformPoint(OGRCoordinateTransformation* transform, double& x, double& y) {
    if (transform == nullptr) return false;
    double tx = x;
    double ty = y;
    if (!transform->Transform(1, &tx, &ty) || !std::isfinite(tx) || !std::isfinite(ty))
        return false;
    x = tx;
    y = ty;
    return true;
}

}  // namespace

int configureGeodesyData() {
    // GDAL's support files come from a "data" folder beside the program when there is one;
    // otherwise the tables installed with GDAL serve.
    if (appState.layout.moduleDir[0] != '\0') {
        std::string folder = std::string(appState.layout.moduleDir) + "data";
        std::error_code error;
        if (std::filesystem::is_directory(folder, error)) {
            const char* narrow = toNarrow(folder);
            CPLSetConfigOption("GDAL_DATA", narrow);
            CPLSetConfigOption("GEOTIFF_CSV", narrow);
        }
    }
    setUpProjection();
    return 1;
}

int setUpProjection() {
    OGRSpatialReference projected;
    useLongitudeFirst(projected);
    if (appState.projection.forwardTransform != nullptr) {
        OCTDestroyCoordinateTransformation(appState.projection.forwardTransform);
        appState.projection.forwardTransform = nullptr;
    }
    OGRSpatialReference& geographic = wgs84Geographic();
    geographic.SetWellKnownGeogCS("WGS84");
    useLongitudeFirst(geographic);

    // Zone 33 north holds the place until the first fix of a work names the real zone.
    projected.SetProjCS("GEO");
    projected.SetUTM(33, TRUE);
    if (projected.Validate() != OGRERR_NONE) return 0;
    projected.SetGeogCS("PRJ WGS84", "PRJ WGS84", "WGS84", 6378137.0, 298.257223563, nullptr, 0.0,
                        nullptr, 0.0);
    // The transformation keeps copies of both systems.
    appState.projection.forwardTransform =
        OGRCreateCoordinateTransformation(&geographic, &projected);
    return appState.projection.forwardTransform != nullptr ? 1 : 0;
}

void releaseProjection() {
    if (appState.projection.forwardTransform == nullptr) return;
    OCTDestroyCoordinateTransformation(appState.projection.forwardTransform);
    appState.projection.forwardTransform = nullptr;
}

UtmZone utmZoneForLongitude(double longitude) {
    // 1 + floor((lon + 180) / 6) for every longitude from -180 upward, written with a
    // truncation. The antimeridian is the east edge of zone 60: there is no zone 61.
    int zone = 1 - static_cast<int>((longitude + 180.0) * (-1.0 / 6.0));
    if (zone > 60) zone = 60;
    if (zone < 1) zone = 1;
    return {zone, zone * 6.0 - 183.0};
}

bool setOrigin(double longitude, double latitude) {
    int zone = utmZoneForLongitude(longitude).zone;
    int north = latitude < 0.0 ? 0 : 1;  // the equator belongs to the north

    OGRCoordinateTransformation* transform = appState.projection.forwardTransform;
    if (transform != nullptr) {
        int currentNorth = 0;
        int currentZone = transform->GetTargetCS()->GetUTMZone(&currentNorth);
        if (currentZone != zone || currentNorth != north) {
            // A fresh copy of the work's system in the new zone; the transformation being
            // replaced owns the old copy and goes with it.
            OGRSpatialReference* projected = transform->GetTargetCS()->Clone();
            projected->SetUTM(zone, north);
            useLongitudeFirst(*projected);
            OGRCoordinateTransformation* replacement =
                OGRCreateCoordinateTransformation(&wgs84Geographic(), projected);
            delete projected;
            // A refused zone leaves no plane at all: the old zone's plane would mirror the work.
            if (replacement == nullptr) return false;
            OCTDestroyCoordinateTransformation(transform);
            appState.projection.forwardTransform = replacement;
        }
    }

    appState.work.plane.originLonLat[0] = longitude;
    appState.work.plane.originLonLat[1] = latitude;
    double x = longitude;
    double y = latitude;
    if (!transformPoint(appState.projection.forwardTransform, x, y)) return false;
    appState.work.plane.originX = x * 10.0;
    appState.work.plane.originY = y * 10.0;
    appState.work.plane.originSet = 1;
    return true;
}

std::optional<PlanePoint> projectFix(double longitude, double latitude) {
    // The first fix handed over after a work reset fixes the origin, whether or not the fix
    // filters later accept it.
    if (!appState.work.plane.originSet && !setOrigin(longitude, latitude)) return std::nullopt;
    double x = longitude;
    double y = latitude;
    if (!transformPoint(appState.projection.forwardTransform, x, y)) return std::nullopt;
    return PlanePoint{x * 10.0 - appState.work.plane.originX,
                      y * 10.0 - appState.work.plane.originY};
}

void openInverseProjection() {
    closeInverseProjection();
    OGRCoordinateTransformation* forward = appState.projection.forwardTransform;
    if (forward == nullptr) return;
    appState.projection.inverseTransform =
        OGRCreateCoordinateTransformation(forward->GetTargetCS(), forward->GetSourceCS());
}

void closeInverseProjection() {
    if (appState.projection.inverseTransform == nullptr) return;
    OCTDestroyCoordinateTransformation(appState.projection.inverseTransform);
    appState.projection.inverseTransform = nullptr;
}

bool unprojectPoint(PlanePoint point, double& longitude, double& latitude) {
    double x = (point.x + appState.work.plane.originX) * 0.1;
    double y = (point.y + appState.work.plane.originY) * 0.1;
    if (!transformPoint(appState.projection.inverseTransform, x, y)) return false;
    longitude = x;
    latitude = y;
    return true;
}
