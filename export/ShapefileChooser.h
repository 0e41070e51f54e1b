// The file chooser for works: open mode for review and KML, save mode for saving.
#pragma once

#include <string>

// True when the driver chose a file; path receives it exactly as chosen.
bool chooseShapefile(std::string& path, bool open);
// True when saving to path would replace a file the chooser has not asked about: shapelib
// drops what follows the name's last dot ("acker.2024" and "acker" both write acker.shp,
// .shx and .dbf), while the chooser asks only about the name as typed.
bool replacesUnaskedFiles(const std::string& path);
