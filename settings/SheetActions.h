// What the settings pages ask of the rest of the program: saving the settings, the receiver
// link, the wait for a fix, the vehicle picture, the KML conversion and the choice of a file of
// fields to import. The sheet calls them through this table so that the pages can be driven
// without a receiver or a screen.
#pragma once

#include <string>

struct SheetActions {
    void (*saveSettings)();
    int (*isGpsRunning)();
    void (*setGpsEnabled)(int enable);
    void (*startGpsWait)();
    void (*rebuildVehicleImage)();
    bool (*chooseShapefile)(std::string& path, bool open);
    int (*convertShapefileToKml)(std::string& path);
    bool (*chooseFieldFile)(std::string& path);
};

// The table in force; it starts with the program's own operations.
SheetActions& sheetActions();
// Puts the program's own operations back.
void resetSheetActions();
