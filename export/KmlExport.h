// Converting a saved work into a KML document beside it.
#pragma once

#include <string>

// 1 when the document was written to its end, 0 otherwise. Cuts path at its last '.'.
int convertShapefileToKml(std::string& path);
