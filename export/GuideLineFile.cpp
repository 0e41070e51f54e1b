// Written through GDAL's GeoJSON driver with nine decimals of a degree (0.1 mm), under a
// temporary name renamed when complete, as the work's own files are.
#include "export/GuideLineFile.h"

#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <utility>

#include "export/BasePath.h"
#include "guidance/GuidancePattern.h"
#include "guidance/Projection.h"

namespace {

// The current line in the plane: the curve's path, or A and B.
std::vector<Vec2> currentLine(const WorkRecord& work, std::uint8_t guidancePattern,
                              std::uint8_t& pattern) {
    if (work.curveActive && work.curve.path.size() >= 2) {
        pattern = kPatternCurve;
        return work.curve.path;
    }
    if (work.guidance.lines.empty()) return {};
    pattern = guidancePattern == kPatternHeading ? kPatternHeading : kPatternStraight;
    return {work.guidance.anchorA, work.guidance.anchorB};
}

}  // namespace

std::string guideLinePath(std::string workPath) {
    cutAtExtension(workPath);
    return workPath + ".line.geojson";
}

bool guideLineOfWork(const WorkRecord& work, std::uint8_t guidancePattern,
                     ProjectionTransforms& transforms, SavedGuideLine& out) {
    std::uint8_t pattern = kPatternStraight;
    const std::vector<Vec2> line = currentLine(work, guidancePattern, pattern);
    if (line.size() < 2) return false;
    std::vector<double> lonLat;
    openInverseProjection(transforms);
    for (const Vec2& p : line) {
        double lon = 0.0, lat = 0.0;
        if (!unprojectPoint(transforms, work.plane, {p.x, p.y}, lon, lat)) {
            closeInverseProjection(transforms);
            return false;
        }
        lonLat.push_back(lon);
        lonLat.push_back(lat);
    }
    closeInverseProjection(transforms);
    out.pattern = pattern;
    out.lonLat = std::move(lonLat);
    return true;
}

bool writeGuideLine(const std::string& workPath, const WorkRecord& work,
                    std::uint8_t guidancePattern, ProjectionTransforms& transforms) {
    SavedGuideLine saved;
    if (!guideLineOfWork(work, guidancePattern, transforms, saved)) return false;
    const std::uint8_t pattern = saved.pattern;
    const std::vector<double>& lonLat = saved.lonLat;

    GDALAllRegister();
    GDALDriverH driver = GDALGetDriverByName("GeoJSON");
    if (!driver) return false;
    const std::string path = guideLinePath(workPath);
    const std::string temporary = path + ".tmp";
    std::remove(temporary.c_str());
    GDALDatasetH ds = GDALCreate(driver, temporary.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    if (!ds) return false;
    OGRSpatialReferenceH wgs84 = OSRNewSpatialReference(nullptr);
    OSRSetWellKnownGeogCS(wgs84, "WGS84");
    OSRSetAxisMappingStrategy(wgs84, OAMS_TRADITIONAL_GIS_ORDER);
    char precision[] = "COORDINATE_PRECISION=9";
    char* options[] = {precision, nullptr};
    OGRLayerH layer = GDALDatasetCreateLayer(ds, "guide_line", wgs84, wkbLineString, options);
    bool ok = layer != nullptr;
    if (ok) {
        OGRFieldDefnH field = OGR_Fld_Create("pattern", OFTString);
        ok = OGR_L_CreateField(layer, field, TRUE) == OGRERR_NONE;
        OGR_Fld_Destroy(field);
    }
    if (ok) {
        OGRFeatureH feature = OGR_F_Create(OGR_L_GetLayerDefn(layer));
        OGR_F_SetFieldString(feature, 0, patternName(pattern));
        OGRGeometryH geometry = OGR_G_CreateGeometry(wkbLineString);
        for (std::size_t i = 0; i + 1 < lonLat.size(); i += 2)
            OGR_G_AddPoint_2D(geometry, lonLat[i], lonLat[i + 1]);
        OGR_F_SetGeometryDirectly(feature, geometry);
        ok = OGR_L_CreateFeature(layer, feature) == OGRERR_NONE;
        OGR_F_Destroy(feature);
    }
    OSRRelease(wgs84);
    GDALClose(ds);
    // Closing reports nothing here: the file is read back before it takes the real name.
    SavedGuideLine check;
    ok = ok && readGuideLine(temporary, check) && check.lonLat.size() == lonLat.size();
    std::error_code error;
    if (ok) std::filesystem::rename(temporary, path, error);
    if (!ok || error) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

bool readGuideLine(const std::string& path, SavedGuideLine& line) {
    GDALAllRegister();
    GDALDatasetH ds =
        GDALOpenEx(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr, nullptr);
    if (!ds) return false;
    SavedGuideLine read;
    bool ok = false;
    OGRLayerH layer = GDALDatasetGetLayerCount(ds) > 0 ? GDALDatasetGetLayer(ds, 0) : nullptr;
    OGRFeatureH feature = layer ? OGR_L_GetNextFeature(layer) : nullptr;
    OGRGeometryH geometry = feature ? OGR_F_GetGeometryRef(feature) : nullptr;
    if (geometry && wkbFlatten(OGR_G_GetGeometryType(geometry)) == wkbLineString) {
        const int n = OGR_G_GetPointCount(geometry);
        for (int i = 0; i < n; ++i) {
            const double lon = OGR_G_GetX(geometry, i), lat = OGR_G_GetY(geometry, i);
            if (!std::isfinite(lon) || !std::isfinite(lat) || std::fabs(lon) > 180.0 ||
                std::fabs(lat) > 90.0) {
                read.lonLat.clear();
                break;
            }
            read.lonLat.push_back(lon);
            read.lonLat.push_back(lat);
        }
        const int index = OGR_F_GetFieldIndex(feature, "pattern");
        const std::string pattern = index >= 0 ? OGR_F_GetFieldAsString(feature, index) : "";
        read.pattern = patternFromName(pattern);
        // A straight line is its two ends; anything longer is followed as a curve.
        if (read.lonLat.size() > 4) read.pattern = kPatternCurve;
        ok = read.lonLat.size() >= 4;
    }
    if (feature) OGR_F_Destroy(feature);
    GDALClose(ds);
    if (ok) line = std::move(read);
    return ok;
}
