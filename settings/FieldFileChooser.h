// The file chooser of the Fields page's import: the files a farm's own software writes its
// fields to (shapefile, GeoJSON, KML, GeoPackage), in Qt's own dialog over the whole sheet.
#pragma once

#include <string>

// True when the driver chose an existing file; path receives it.
bool chooseFieldFile(std::string& path);
