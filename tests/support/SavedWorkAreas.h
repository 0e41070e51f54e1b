// The area a saved work's shapes cover, read back by GDAL itself: what the program's own
// figures are checked against.
#pragma once

#include <gdal.h>
#include <gtest/gtest.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <charconv>
#include <string>

// The saved work's polygons as GDAL reads them, made valid and cut to the latitudes from south
// to north: the sum of their areas and the area of their union, in square metres of the UTM
// zone utmEpsg.
inline void savedAreas(const std::string& path, int utmEpsg, double south, double north,
                       double& sum, double& ground) {
    GDALAllRegister();
    GDALDatasetH file = GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    ASSERT_NE(file, nullptr);
    OGRLayerH layer = GDALDatasetGetLayer(file, 0);
    OGRSpatialReferenceH utm = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(utm, utmEpsg);
    OSRSetAxisMappingStrategy(utm, OAMS_TRADITIONAL_GIS_ORDER);
    // The file's own coordinates: longitude as x, latitude as y.
    OGRGeometryH band = nullptr;
    // Written without the locale, which a Qt program in the test may have set to a comma.
    auto number = [](double v) {
        char text[32];
        const auto end = std::to_chars(text, text + sizeof text, v).ptr;
        return std::string(text, end);
    };
    const std::string s = number(south), n = number(north);
    std::string box =
        "POLYGON ((-180 " + s + ", 180 " + s + ", 180 " + n + ", -180 " + n + ", -180 " + s + "))";
    char* wkt = box.data();
    OGR_G_CreateFromWkt(&wkt, nullptr, &band);
    OGRGeometryH united = OGR_G_CreateGeometry(wkbPolygon);
    sum = 0.0;
    OGR_L_ResetReading(layer);
    while (OGRFeatureH feature = OGR_L_GetNextFeature(layer)) {
        OGRGeometryH valid = OGR_G_MakeValid(OGR_F_GetGeometryRef(feature));
        OGRGeometryH cut = OGR_G_Intersection(valid, band);
        OGR_G_AssignSpatialReference(cut, OGR_L_GetSpatialRef(layer));
        OGR_G_TransformTo(cut, utm);
        sum += OGR_G_Area(cut);
        OGRGeometryH more = OGR_G_Union(united, cut);
        OGR_G_DestroyGeometry(united);
        OGR_G_DestroyGeometry(cut);
        united = more;
        OGR_G_DestroyGeometry(valid);
        OGR_F_Destroy(feature);
    }
    ground = OGR_G_Area(united);
    for (OGRGeometryH g : {united, band}) OGR_G_DestroyGeometry(g);
    OSRDestroySpatialReference(utm);
    GDALClose(file);
}
