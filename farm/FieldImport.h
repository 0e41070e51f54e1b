// Fields from a farm's own software: every polygon of a shapefile, GeoJSON, KML or GeoPackage
// layer, in whatever coordinate system GDAL reads it in, turned into WGS 84 and made valid.
#pragma once

#include <string>
#include <vector>

#include "farm/FarmContents.h"

struct ImportedField {
    FieldEntry field;        // name, valid boundary and its area; no headland yet
    bool madeValid = false;  // the file's polygon was invalid and GEOS mended it
};

// nameField names the attribute that holds the field's name; empty: a "name" or "NAME"
// attribute when there is one, else the file's name and the feature's number. False with the
// reason when the file cannot be read or holds no polygon.
bool importFields(const std::string& path, const std::string& nameField,
                  std::vector<ImportedField>& out, std::string& error);
