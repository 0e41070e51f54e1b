// The labels of the settings pages in the four languages: 32 entries per language, the same
// index meaning the same label everywhere.
#pragma once

#include <QString>

enum DialogTextId : int {
    kDlgOk = 0,
    kDlgCancel = 1,
    kDlgSetup = 2,
    kDlgImplementWidth = 3,
    kDlgColors = 4,
    kDlgTrackColor = 5,
    kDlgBackgroundColor = 6,
    kDlgGuide = 7,
    kDlgArrowTolerance = 8,
    kDlgReview = 9,
    kDlgReviewAcceleration = 10,  // format: one %d
    kDlgGpsSetup = 12,
    kDlgUseWindowsGps = 13,
    kDlgUseSerialGps = 14,
    kDlgPort = 15,
    kDlgBaud = 16,
    kDlgSpeedThreshold = 17,     // format: one %.1f, km/h
    kDlgDistanceThreshold = 18,  // format: one %.1f, metres
    kDlgHdopThreshold = 19,      // format: one %.1f
    kDlgInternalSettings = 20,
    kDlgTractorScale = 21,
    kDlgRealScale = 22,  // 22..27: the vehicle scale list, in list order
    kDlgWithoutTractor = 27,
    kDlgMiscellaneous = 28,
    kDlgDataTextColor = 29,
    kDlgShowGuideNumber = 30,
    kDlgExportKml = 31,
};
inline constexpr int kDialogTextCount = 32;

// The table of one language (0 English, 1 Spanish, 2 German, 3 Russian); English for any other.
const wchar_t* const* dialogTextTable(int language);
// A label of the current language (appState.ui.language).
QString dialogText(int id);
// A format entry of the current language filled with one number. The numbers are written with
// a '.' whatever the locale, as everywhere else in the program.
QString dialogTextFormat(int id, double value);
QString dialogTextFormat(int id, int value);
