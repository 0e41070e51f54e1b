#include "WorkFile.h"

#include <cpl_error.h>
#include <gdal.h>
#include <ogr_api.h>

#include <cmath>
#include <string_view>

namespace {

// gpssim's field corner; its passes stay within a few hundred metres of it.
constexpr double kFieldLon = 11.5167;
constexpr double kFieldLat = 48.1173;
constexpr double kFieldReach = 0.01;  // degrees

void countGeometry(OGRGeometryH geometry, WorkFileContents& out) {
    const int parts = OGR_G_GetGeometryCount(geometry);
    if (parts > 0) {
        if (wkbFlatten(OGR_G_GetGeometryType(geometry)) == wkbPolygon) ++out.polygons;
        for (int i = 0; i < parts; ++i) countGeometry(OGR_G_GetGeometryRef(geometry, i), out);
        return;
    }
    const int points = OGR_G_GetPointCount(geometry);
    out.vertices += points;
    for (int i = 0; i < points; ++i) {
        if (std::fabs(OGR_G_GetX(geometry, i) - kFieldLon) > kFieldReach ||
            std::fabs(OGR_G_GetY(geometry, i) - kFieldLat) > kFieldReach)
            out.allInField = false;
    }
}

void readFeature(OGRFeatureH feature, WorkFileContents& out) {
    const int nameField = OGR_F_GetFieldIndex(feature, "NAME");
    const int xField = OGR_F_GetFieldIndex(feature, "XREF");
    const int yField = OGR_F_GetFieldIndex(feature, "YREF");
    if (nameField >= 0 && xField >= 0 && yField >= 0) {
        const std::string name = OGR_F_GetFieldAsString(feature, nameField);
        const double x = OGR_F_GetFieldAsDouble(feature, xField);
        const double y = OGR_F_GetFieldAsDouble(feature, yField);
        if (out.features == 0) {
            out.name = name;
            out.xref = x;
            out.yref = y;
        } else if (name != out.name || x != out.xref || y != out.yref) {
            out.sameAttributes = false;
        }
    }
    ++out.features;
    if (OGRGeometryH geometry = OGR_F_GetGeometryRef(feature)) countGeometry(geometry, out);
}

}  // namespace

bool readWorkFile(const std::string& path, WorkFileContents& out) {
    GDALAllRegister();
    // The work's rings are not closed by a repeated first vertex; GDAL says so on every one.
    CPLPushErrorHandler(CPLQuietErrorHandler);
    GDALDatasetH data = GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    if (!data) {
        CPLPopErrorHandler();
        return false;
    }
    if (GDALDatasetGetLayerCount(data) == 0) {
        CPLPopErrorHandler();
        GDALClose(data);
        return false;
    }
    // A KML document keeps its placemarks in a folder inside the work's folder: every layer.
    const int layers = GDALDatasetGetLayerCount(data);
    for (int l = 0; l < layers; ++l) {
        OGRLayerH layer = GDALDatasetGetLayer(data, l);
        OGR_L_ResetReading(layer);
        while (OGRFeatureH feature = OGR_L_GetNextFeature(layer)) {
            readFeature(feature, out);
            OGR_F_Destroy(feature);
        }
    }
    CPLPopErrorHandler();
    GDALClose(data);
    return true;
}
