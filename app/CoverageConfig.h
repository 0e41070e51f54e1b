// The [coverage] section of sulcovane.conf: the look-ahead of the warning of worked ground and
// the share of the implement's width that sets it off.
#pragma once

// Reads the section into appState; missing keys, and values that are not numbers, keep their
// initial values; numbers outside their range are brought to its nearest end.
void loadCoverageConfig();
// Writes the section as it is now, in the background.
void saveCoverageConfig();
