// The program's command line. Qt's own options (-platform offscreen, -platform vnc, ...) are
// left for Qt; everything else that starts with '-' must be one of ours.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct CommandLine {
    bool help = false;
    bool version = false;
    bool simulate = false;
    int width = 0;  // --size WxH; 0: fill the primary screen
    int height = 0;
    std::optional<int> orientation;
    std::string gpsDevice;
    std::string ntrip;                  // --ntrip ntrip://[USER[:PASSWORD]@]HOST[:PORT]/MOUNTPOINT
    std::string language;               // en, es, de, ru; empty: from the locale
    std::vector<std::string> kmlFiles;  // --kml: convert and exit
    std::string importNmea;  // --import-nmea LOG (--save WORK.shp | --field NAME) [--width M]
    std::string savePath;
    std::string nmeaField;     // --field NAME: the imported work goes into the farm book
    std::string importFields;  // --import-fields FILE [--name-field NAME]
    std::string nameField;
    std::string exportField;  // --export-field NAME --to FILE
    std::string exportTo;
    std::optional<double> implementWidthMetres;
    // --sections N with --import-nmea: the log's work is switched section by section.
    std::optional<int> sectionCount;
};

// Parses argv (argv[0] skipped). False with a one-line error when an option is unknown or
// malformed.
bool parseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error);

// The usage text printed by --help and after a bad option.
const char* usageText();
