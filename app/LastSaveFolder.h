// The folder of the last successful save, kept in sulcovane.conf beside Settings.dat: where a
// recovered work is written.
#pragma once

#include <string>

// The remembered folder, or the home folder when there was no save yet (ending with '/').
std::string lastSaveFolder();
// Remembers the folder of a saved work's path.
void rememberSaveFolder(const std::string& savedPath);
