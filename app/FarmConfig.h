// The [farm] section of sulcovane.conf: where the farm book is, the headland's width in passes
// and how a driven boundary is recorded.
#pragma once

#include <string>

// Reads the section into appState; missing or unreadable keys keep their initial values, numbers
// outside their range are brought to its nearest end.
void loadFarmConfig();
// Writes the section as it is now, in the background.
void saveFarmConfig();
// [farm] book as read (empty: none named).
std::string& farmBookSetting();
// The farm book's path: [farm] book, or farm.gpkg in the folder of Settings.dat.
std::string farmBookPath();
