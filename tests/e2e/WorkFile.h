// A saved work or its KML document read back through GDAL, as another program would see it.
#pragma once

#include <string>

struct WorkFileContents {
    int features = 0;
    int polygons = 0;
    int vertices = 0;            // over every ring, as GDAL reports them
    bool allInField = true;      // every vertex near the simulated field
    std::string name;            // "NAME" of the first feature (shapefile only)
    double xref = 0, yref = 0;   // "XREF", "YREF" of the first feature (shapefile only)
    bool sameAttributes = true;  // every feature carries the first one's attributes
};

// False when GDAL cannot open the file or finds no layer.
bool readWorkFile(const std::string& path, WorkFileContents& out);
