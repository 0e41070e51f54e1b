// Saving the current work as a polygon shapefile in WGS84 longitude and latitude.
#pragma once

#include <string>

#include "guidance/Projection.h"
#include "guidance/WorkRecord.h"

// 1 on success, 0 on failure (the driver has been told why).
int exportShapefile(const std::string& path, const WorkRecord& work,
                    ProjectionTransforms& transforms);
