// Fields from a farm's own software through GDAL: every layer of the file, every polygon of it,
// in the file's coordinate system turned into WGS 84 longitude and latitude.
#include "farm/FieldImport.h"

#include <cpl_error.h>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <utility>

#include "farm/FieldGeometry.h"
#include "farm/OgrShape.h"
#include "farm/QuietGdal.h"

namespace {

struct FeatureFree {
    void operator()(OGRFeature* f) const { OGRFeature::DestroyFeature(f); }
};
using FeaturePtr = std::unique_ptr<OGRFeature, FeatureFree>;

struct TransformFree {
    void operator()(OGRCoordinateTransformation* t) const { OCTDestroyCoordinateTransformation(t); }
};
using TransformPtr = std::unique_ptr<OGRCoordinateTransformation, TransformFree>;

// A layer without a coordinate system (a shapefile without its .prj): degrees are taken for
// WGS 84; anything else would be guessing at a projection.
bool looksLikeDegrees(OGRLayer* layer) {
    OGREnvelope box;
    if (layer->GetExtent(&box, TRUE) != OGRERR_NONE) return false;
    return box.MinX >= -180.0 && box.MaxX <= 180.0 && box.MinY >= -90.0 && box.MaxY <= 90.0;
}

// The layer's transformation to WGS 84 (null for a layer already in it); false when there is
// none to be had.
bool transformOf(OGRLayer* layer, const std::string& path, TransformPtr& out, std::string& error) {
    const OGRSpatialReference* source = layer->GetSpatialRef();
    if (!source) {
        if (looksLikeDegrees(layer)) return true;
        error = path + ": the layer " + layer->GetName() +
                " has no coordinate system (a shapefile needs its .prj) and its coordinates are "
                "not degrees";
        return false;
    }
    OGRSpatialReference from(*source), wgs84;
    wgs84.importFromEPSG(4326);
    // Longitude first on both sides, whatever order the file's system declares.
    from.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    out.reset(OGRCreateCoordinateTransformation(&from, &wgs84));
    if (!out) {
        error = path + ": GDAL cannot turn the coordinates of the layer " + layer->GetName() +
                " into WGS 84";
        return false;
    }
    return true;
}

// The index of the attribute holding the field's name; -1 when there is none to use.
int nameIndex(OGRFeatureDefn* defn, const std::string& nameField) {
    if (!nameField.empty()) return defn->GetFieldIndex(nameField.c_str());
    for (int i = 0; i < defn->GetFieldCount(); ++i)
        if (EQUAL(defn->GetFieldDefn(i)->GetNameRef(), "name")) return i;
    return -1;
}

}  // namespace

bool importFields(const std::string& path, const std::string& nameField,
                  std::vector<ImportedField>& out, std::string& error) {
    out.clear();
    QuietErrors quiet;
    GDALAllRegister();
    GDALDatasetUniquePtr ds(static_cast<GDALDataset*>(
        GDALOpenEx(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr, nullptr)));
    if (!ds) {
        const char* why = CPLGetLastErrorMsg();
        error =
            path + ": not a file of fields GDAL can read" + (*why ? std::string(": ") + why : "");
        return false;
    }
    const std::string stem = std::filesystem::path(path).stem().string();
    int number = 0;
    for (OGRLayer* layer : ds->GetLayers()) {
        TransformPtr transform;
        bool transformKnown = false;
        OGRFeatureDefn* defn = layer->GetLayerDefn();
        const int name = nameIndex(defn, nameField);
        layer->ResetReading();
        while (FeaturePtr feature{layer->GetNextFeature()}) {
            FieldShape shape;
            for (FieldPolygon& p : shapeOf(feature->GetGeometryRef()))
                shape.push_back(std::move(p));
            if (shape.empty()) continue;  // a point or a track: no field
            if (!nameField.empty() && name < 0) {
                error = path + ": the layer " + layer->GetName() + " has no attribute '" +
                        nameField + "'";
                return false;
            }
            if (!transformKnown && !transformOf(layer, path, transform, error)) return false;
            transformKnown = true;
            ++number;
            if (transform) {
                for (FieldPolygon& p : shape) {
                    auto move = [&](std::vector<LonLat>& ring) {
                        for (LonLat& q : ring)
                            if (!transform->Transform(1, &q.lon, &q.lat)) return false;
                        return true;
                    };
                    bool moved = move(p.outer);
                    for (auto& hole : p.holes) moved = moved && move(hole);
                    if (!moved) {
                        error = path + ": a polygon of " + layer->GetName() +
                                " lies outside what WGS 84 can hold";
                        return false;
                    }
                }
            }
            ImportedField imported;
            FieldEntry& field = imported.field;
            if (name >= 0 && feature->IsFieldSetAndNotNull(name))
                field.name = feature->GetFieldAsString(name);
            if (field.name.empty()) field.name = stem + " " + std::to_string(number);
            imported.madeValid = !fieldShapeIsValid(shape);
            std::string why;
            if (!makeFieldValid(shape, field.boundary, why)) continue;  // nothing of area
            field.areaHa = fieldAreaM2(field.boundary) / 1e4;
            out.push_back(std::move(imported));
        }
    }
    if (out.empty()) {
        error = path + ": holds no polygon with ground in it";
        return false;
    }
    return true;
}
