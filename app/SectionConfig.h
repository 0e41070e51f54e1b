// The [sections] section of sulcovane.conf: how the implement is cut into sections, how early
// their valves are told, when a section goes off, and where the section controllers listen.
#pragma once

#include <string>

#include "sections/SectionLayout.h"

struct SectionConfig {
    int count = 1;        // 1 to kMaxSections; one section is the whole implement
    std::string widths;   // centimetres, left to right, comma-separated; empty: equal sections
    double turnOnS = 0;   // seconds the valve is told ahead of the ground (0 to 15, 0.05 steps)
    double turnOffS = 0;  // the same for switching off
    double coveragePercent = 100;  // share of a section over worked ground that turns it off
    double minSpeedKmh = 1;        // below it every section is off
    bool headlandOff = false;      // sections go off in a field's headland
    std::string output;            // udp://HOST:PORT or /dev/...?baud=N; empty: none

    bool operator==(const SectionConfig&) const = default;
};

// Beside the global record rather than in it: its texts are strings, which cannot be
// constant-initialised with the record. Written on the user-interface thread under
// appState.frameLock; the fix thread reads it under that lock, the user-interface thread
// reads it without.
extern SectionConfig sectionConfig;

constexpr double kMaxTurnSeconds = 15.0;
constexpr double kTurnStepSeconds = 0.05;
constexpr double kMaxSectionSpeedKmh = 50.0;

// Reads the section into sectionConfig; missing keys, and values that are not numbers, keep
// their initial values; numbers outside their range are brought to its nearest end. Numbers are
// read and written with '.' whatever the locale.
void loadSectionConfig();
// Writes the section as it is now, in the background.
void saveSectionConfig();

// The sections for sectionConfig and this implement width. When the widths no longer add up
// to the width (it was changed since), or do not fit it otherwise, one section of the whole
// width, and *problem (if given) says why; otherwise *problem is cleared.
SectionLayout sectionLayoutNow(int implementWidthCm, std::string* problem);
