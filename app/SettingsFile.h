// Settings.dat: the driver's settings, kept between runs in a 303-byte binary file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The folder of Settings.dat and sulcovane.conf, ending with '/': the program's own folder
// when it may write there, otherwise the user's configuration folder.
std::string settingsFolder();
// Where Settings.dat is read from and written to.
std::string settingsPath();
void loadSettings();
void saveSettings();

// The file's bytes, without the file: the size of a whole file, the settings read from the
// first size bytes (fields beyond them keep their values) with the load's corrections, and the
// settings as the file holds them.
inline constexpr std::size_t kSettingsFileSize = 303;
void decodeSettings(const std::uint8_t* bytes, std::size_t size);
void encodeSettings(std::uint8_t (&bytes)[kSettingsFileSize]);
