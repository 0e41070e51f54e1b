// Converting a saved work into a KML document beside it.
#pragma once

#include <cstdint>
#include <string>

// 1 when the document was written to its end, 0 otherwise. Cuts path at its last '.'.
// trackColor (0x00BBGGRR) colours the worked area.
int convertShapefileToKml(std::string& path, std::uint32_t trackColor);
