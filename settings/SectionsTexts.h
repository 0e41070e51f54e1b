// The labels and refusals of the Sections page in the four languages, the same index meaning the
// same text everywhere.
#pragma once

#include <QString>

enum SectionsTextId : int {
    kSecTitle,
    kSecCount,
    kSecWidths,
    kSecWidthsHint,
    kSecTurnOn,
    kSecTurnOff,
    kSecCoverage,
    kSecMinSpeed,
    kSecHeadland,
    kSecOutput,
    kSecOutputHint,
    kSecPrecision,
    kSecBadNumber,     // format: %1 the setting's label, %2 and %3 its range
    kSecSumRefused,    // format: %1 what the widths add up to, %2 the implement width (cm)
    kSecCountRefused,  // format: %1 the widths listed, %2 the number of sections
    kSecBadWidth,      // format: %1 the width's place, from 1
    kSecTooNarrow,     // format: %1 the implement width (cm), %2 the number of sections
    kSecBadOutput,
    kSecTextCount
};

// A text of the current language (appState.ui.language); English for any other.
QString sectionsText(int id);
