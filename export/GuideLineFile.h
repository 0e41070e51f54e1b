// A work's guide line kept beside its saved work, so the next pass, day or season drives the
// same tracks: WORK.line.geojson, one LineString in WGS 84 longitude and latitude (A to B, or
// the whole thinned curve) with its pattern, read back by GDAL.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "guidance/Projection.h"
#include "guidance/WorkRecord.h"

struct SavedGuideLine {
    std::uint8_t pattern = 0;    // kPatternStraight, kPatternHeading or kPatternCurve
    std::vector<double> lonLat;  // longitude, latitude, longitude, ...
};

// The line file's path for a work's path (with or without .shp).
std::string guideLinePath(std::string workPath);
// Writes the work's line beside the work; false when it has none or the file could not be
// written whole. guidancePattern tells an A + heading line from an AB line.
bool writeGuideLine(const std::string& workPath, const WorkRecord& work,
                    std::uint8_t guidancePattern, ProjectionTransforms& transforms);
// The work's line (A to B, or the whole thinned curve) in WGS 84; false when it has none.
bool guideLineOfWork(const WorkRecord& work, std::uint8_t guidancePattern,
                     ProjectionTransforms& transforms, SavedGuideLine& out);
// Reads a line file written by writeGuideLine (or any GeoJSON/shapefile GDAL reads whose first
// feature is a line); false with nothing changed for anything else.
bool readGuideLine(const std::string& path, SavedGuideLine& line);
