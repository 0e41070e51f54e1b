// Saving the current work as a polygon shapefile in WGS84 longitude and latitude.
#pragma once

#include <cstddef>
#include <string>

#include "export/WorkSegments.h"
#include "guidance/Projection.h"
#include "guidance/WorkRecord.h"

// 1 on success, 0 on failure (the driver has been told why). Each segment between pauses is one
// polygon, unless it has more than maxShapePairs records (kShapePairLimit, what readers of
// shapefiles accept): then it is several, each starting with the last record of the one before.
int exportShapefile(const std::string& path, const WorkRecord& work,
                    ProjectionTransforms& transforms, std::size_t maxShapePairs = kShapePairLimit);
