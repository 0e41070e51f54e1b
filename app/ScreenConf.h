// The screen options of sulcovane.conf, the INI file beside Settings.dat: the palette choice
// in section [screen], key palette = day | night | auto.
#pragma once

#include <string>

#include "app/Palette.h"

// The stored choice; Day when the file, the key or its value is missing or unknown.
PaletteChoice readPaletteChoice(const std::string& path);
// Stores the choice, keeping every other key of the file.
bool writePaletteChoice(const std::string& path, PaletteChoice choice);
