// The file chooser for works: open mode for review and KML, save mode for saving.
#pragma once

#include <string>

// True when the driver chose a file; path receives it exactly as chosen.
bool chooseShapefile(std::string& path, bool open);
