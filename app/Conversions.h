// The conversions the program runs from its command line, without a window: saved works to KML
// documents, a recorded NMEA log to a saved work (a shapefile, a field's work in the farm book or
// both), a farm's field files into the farm book, and a field's works out of it.
#pragma once

#include <optional>
#include <string>
#include <vector>

// Converts each work file to a KML document beside it; 0 when all were converted, else 1.
int runKmlConversion(const std::vector<std::string>& files);

// Drives the log through the fix processing of a free work, with the settings in force (their
// thresholds, and the implement width unless widthMetres is given), and saves the work to save
// (unless empty) and into the farm book as a work of the field named fieldName (unless empty).
// With sections, the implement is that many equal sections, each switched by itself as the live
// program switches them, with look-aheads of 0. The caller has loaded the settings. 0 when the
// work was saved, else 1.
int runNmeaImport(const std::string& log, const std::string& save,
                  std::optional<double> widthMetres, const std::string& fieldName = {},
                  std::optional<int> sections = std::nullopt);

// Adds every polygon of the file to the farm book (farmBookPath()) as a field with a headland of
// the set passes and implement width, and prints each. The caller has loaded the settings.
// 0 when every field went in, else 1.
int runFieldImport(const std::string& file, const std::string& nameField);
// Writes the works of the field named fieldName to the file. 0 when written, else 1.
int runFieldExport(const std::string& fieldName, const std::string& file);
