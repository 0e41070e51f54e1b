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

int configureGeodesyData(ProjectionTransforms& transforms, std::string_view moduleDir) {
    // GDAL's support files come from a "data" folder beside the program when there is one;
    // otherwise the tables installed with GDAL serve.
    if (!moduleDir.empty()) {
        std::string folder = std::string(moduleDir) + "data";
        std::error_code error;
        if (std::filesystem::is_directory(folder, error)) {
            const char* narrow = toNarrow(folder);
            CPLSetConfigOption("GDAL_DATA", narrow);
            CPLSetConfigOption("GEOTIFF_CSV", narrow);
        }
    }
    setUpProjection(transforms);
    return 1;
}

int setUpProjection(ProjectionTransforms& transforms) {
    OGRSpatialReference projected;
    useLongitudeFirst(projected);
    if (transforms.forwardTransform != nullptr) {
        OCTDestroyCoordinateTransformation(transforms.forwardTransform);
        transforms.forwardTransform = nullptr;
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
    transforms.forwardTransform = OGRCreateCoordinateTransformation(&geographic, &projected);
    return transforms.forwardTransform != nullptr ? 1 : 0;
}

void releaseProjection(ProjectionTransforms& transforms) {
    if (transforms.forwardTransform == nullptr) return;
    OCTDestroyCoordinateTransformation(transforms.forwardTransform);
    transforms.forwardTransform = nullptr;
}

UtmZone utmZoneForLongitude(double longitude) {
    // 1 + floor((lon + 180) / 6) for every longitude from -180 upward, written with a
    // truncation. The antimeridian is the east edge of zone 60: there is no zone 61.
    int zone = 1 - static_cast<int>((longitude + 180.0) * (-1.0 / 6.0));
    if (zone > 60) zone = 60;
    if (zone < 1) zone = 1;
    return {zone, zone * 6.0 - 183.0};
}

bool setOrigin(ProjectionTransforms& transforms, WorkPlane& plane, double longitude,
               double latitude) {
    int zone = utmZoneForLongitude(longitude).zone;
    int north = latitude < 0.0 ? 0 : 1;  // the equator belongs to the north

    OGRCoordinateTransformation* transform = transforms.forwardTransform;
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
            transforms.forwardTransform = replacement;
        }
    }

    plane.originLonLat[0] = longitude;
    plane.originLonLat[1] = latitude;
    double x = longitude;
    double y = latitude;
    if (!transformPoint(transforms.forwardTransform, x, y)) return false;
    plane.originX = x * 10.0;
    plane.originY = y * 10.0;
    plane.originSet = 1;
    return true;
}

std::optional<PlanePoint> projectFix(ProjectionTransforms& transforms, WorkPlane& plane,
                                     double longitude, double latitude) {
    // The first fix handed over after a work reset fixes the origin, whether or not the fix
    // filters later accept it.
    if (!plane.originSet && !setOrigin(transforms, plane, longitude, latitude)) return std::nullopt;
    double x = longitude;
    double y = latitude;
    if (!transformPoint(transforms.forwardTransform, x, y)) return std::nullopt;
    return PlanePoint{x * 10.0 - plane.originX, y * 10.0 - plane.originY};
}

void openInverseProjection(ProjectionTransforms& transforms) {
    closeInverseProjection(transforms);
    OGRCoordinateTransformation* forward = transforms.forwardTransform;
    if (forward == nullptr) return;
    transforms.inverseTransform =
        OGRCreateCoordinateTransformation(forward->GetTargetCS(), forward->GetSourceCS());
}

void closeInverseProjection(ProjectionTransforms& transforms) {
    if (transforms.inverseTransform == nullptr) return;
    OCTDestroyCoordinateTransformation(transforms.inverseTransform);
    transforms.inverseTransform = nullptr;
}

bool unprojectPoint(const ProjectionTransforms& transforms, const WorkPlane& plane,
                    PlanePoint point, double& longitude, double& latitude) {
    double x = (point.x + plane.originX) * 0.1;
    double y = (point.y + plane.originY) * 0.1;
    if (!transformPoint(transforms.inverseTransform, x, y)) return false;
    longitude = x;
    latitude = y;
    return true;
}
