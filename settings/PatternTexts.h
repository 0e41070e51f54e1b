// The Guide page's texts for the guidance patterns, in the four languages.
#pragma once

#include <QString>

enum PatternTextId : int {
    kPatGuidancePattern = 0,
    kPatStraight = 1,  // 1..3 in the order of the pattern values
    kPatHeading = 2,
    kPatCurve = 3,
    kPatHeadingBox = 4,
    kPatSavedLine = 5,
    kPatNoSavedLine = 6,
    // The warning of worked ground ahead: what it is, the word before its look-ahead, and the
    // choice of none.
    kPatWorkedAhead = 7,
    kPatAhead = 8,
    kPatWarningOff = 9,
    // The lines kept in the farm book for the work's field, and their absence.
    kPatFieldLine = 10,
    kPatNoFieldLines = 11,
};
inline constexpr int kPatternTextCount = 12;

// A text of the current language (appState.ui.language); English for any other.
QString patternText(PatternTextId id);
