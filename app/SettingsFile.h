// Settings.dat: the driver's settings, kept between runs in a 303-byte binary file.
#pragma once

#include <string>

// Where Settings.dat is read from and written to.
std::string settingsPath();
void loadSettings();
void saveSettings();
