// The two conversions the program runs from its command line, without a window: saved works to
// KML documents, and a recorded NMEA log to a saved work.
#pragma once

#include <optional>
#include <string>
#include <vector>

// Converts each work file to a KML document beside it; 0 when all were converted, else 1.
int runKmlConversion(const std::vector<std::string>& files);

// Drives the log through the fix processing of a free work, with the settings in force (their
// thresholds, and the implement width unless widthMetres is given), and saves the work to save.
// The caller has loaded the settings. 0 when the work was saved, else 1.
int runNmeaImport(const std::string& log, const std::string& save,
                  std::optional<double> widthMetres);
