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
};
inline constexpr int kPatternTextCount = 7;

// A text of the current language (appState.ui.language); English for any other.
QString patternText(PatternTextId id);
