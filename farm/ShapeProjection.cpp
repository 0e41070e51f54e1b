#include "farm/ShapeProjection.h"

#include <ogr_spatialref.h>

#include <cmath>
#include <map>
#include <memory>
#include <vector>

#include "guidance/Projection.h"

namespace {

struct ZoneTransforms {
    OGRCoordinateTransformation* toUtm = nullptr;
    OGRCoordinateTransformation* toLonLat = nullptr;
    ~ZoneTransforms() {
        if (toUtm) OCTDestroyCoordinateTransformation(toUtm);
        if (toLonLat) OCTDestroyCoordinateTransformation(toLonLat);
    }
};

// EPSG:326zz (north) or 327zz (south): WGS 84 / UTM.
std::unique_ptr<ZoneTransforms> makeZone(int epsg) {
    auto zone = std::make_unique<ZoneTransforms>();
    OGRSpatialReference geographic, utm;
    if (geographic.importFromEPSG(4326) != OGRERR_NONE || utm.importFromEPSG(epsg) != OGRERR_NONE)
        return zone;
    // Longitude first, as every shape of the farm book holds its points.
    geographic.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    utm.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    zone->toUtm = OGRCreateCoordinateTransformation(&geographic, &utm);
    zone->toLonLat = OGRCreateCoordinateTransformation(&utm, &geographic);
    return zone;
}

const ZoneTransforms& zoneFor(LonLat point) {
    thread_local std::map<int, std::unique_ptr<ZoneTransforms>> zones;
    const int epsg = (point.lat < 0.0 ? 32700 : 32600) + utmZoneForLongitude(point.lon).zone;
    std::unique_ptr<ZoneTransforms>& zone = zones[epsg];
    if (!zone) zone = makeZone(epsg);
    return *zone;
}

bool transformShape(OGRCoordinateTransformation* transform, FieldShape& shape) {
    if (!transform) return false;
    std::vector<double> xs, ys;
    auto ring = [&](std::vector<LonLat>& points) {
        if (points.empty()) return true;
        xs.resize(points.size());
        ys.resize(points.size());
        for (std::size_t i = 0; i < points.size(); ++i) {
            xs[i] = points[i].lon;
            ys[i] = points[i].lat;
        }
        if (!transform->Transform(int(points.size()), xs.data(), ys.data())) return false;
        for (std::size_t i = 0; i < points.size(); ++i) {
            if (!std::isfinite(xs[i]) || !std::isfinite(ys[i])) return false;
            points[i] = {xs[i], ys[i]};
        }
        return true;
    };
    for (FieldPolygon& polygon : shape) {
        if (!ring(polygon.outer)) return false;
        for (std::vector<LonLat>& hole : polygon.holes)
            if (!ring(hole)) return false;
    }
    return true;
}

}  // namespace

ShapeProjection::ShapeProjection(LonLat zonePoint) {
    if (!std::isfinite(zonePoint.lon) || !std::isfinite(zonePoint.lat) ||
        std::fabs(zonePoint.lat) > 90.0 || std::fabs(zonePoint.lon) > 180.0)
        return;
    const ZoneTransforms& zone = zoneFor(zonePoint);
    toUtm_ = zone.toUtm;
    toLonLat_ = zone.toLonLat;
}

bool ShapeProjection::toMetres(FieldShape& shape) const {
    return transformShape(toUtm_, shape);
}

bool ShapeProjection::toDegrees(FieldShape& shape) const {
    return transformShape(toLonLat_, shape);
}

bool ShapeProjection::toMetres(LonLat& point) const {
    double x = point.lon, y = point.lat;
    if (!toUtm_ || !toUtm_->Transform(1, &x, &y) || !std::isfinite(x) || !std::isfinite(y))
        return false;
    point = {x, y};
    return true;
}

ShapeProjection projectionOfShape(const FieldShape& shape) {
    if (shape.empty() || shape.front().outer.empty()) return ShapeProjection({NAN, NAN});
    return ShapeProjection(shape.front().outer.front());
}
