// Saving the current work as a polygon shapefile in WGS84 longitude and latitude.
#pragma once

#include <string>

// 1 on success, 0 on failure (the driver has been told why).
int exportShapefile(const std::string& path);
