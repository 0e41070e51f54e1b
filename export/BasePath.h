// The base path of a work file: the chosen name without its extension, the form shapelib and
// the KML converter build their file names from.
#pragma once

#include <string>

// Cuts path at its last '.' in the file name itself; a '.' in a folder name is not an extension.
void cutAtExtension(std::string& path);
