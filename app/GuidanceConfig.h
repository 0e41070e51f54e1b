// The [guidance] section of sulcovane.conf, the INI file beside Settings.dat: the pattern of
// the AB line, the heading of an A + heading line and where guidance output goes.
#pragma once

#include <string>

// Reads the section into appState and the output's address; missing or bad keys keep their
// initial values.
void loadGuidanceConfig();
// Writes the section as it is now, in the background.
void saveGuidanceConfig();
// The output address as read ("" for none).
const std::string& guidanceOutputAddress();
