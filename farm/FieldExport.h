// A field's works written out for other programs: a shapefile, GeoJSON or KML file (the format
// taken from the extension), one multipolygon feature per work with its figures.
#pragma once

#include <string>

#include "farm/FarmBook.h"

bool exportFieldWorks(FarmBook& book, const std::string& fieldName, const std::string& path,
                      std::string& error);
