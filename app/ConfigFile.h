// sulcovane.conf: the settings that Settings.dat's fixed layout has no room for, as an INI file
// beside it (same folder rule), one section per subsystem. It may hold a password, so it is
// readable by its owner only.
#pragma once

#include <QSettings>
#include <memory>
#include <string>

std::string configPath();

// The file opened for reading or changing; changes are written when the object goes (or on
// sync()). Call restrictConfigFile() after writing.
std::unique_ptr<QSettings> openConfigFile(const std::string& path = configPath());

// Makes the file owner-only (0600), as it may hold a password.
void restrictConfigFile(const std::string& path = configPath());
