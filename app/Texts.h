// The screen texts of the four languages, in the bitmap font's code page, and the font itself.
#pragma once

#include <string_view>

// Index of a screen text in messageTables[language].
enum MessageId : int {
    kMsgSaveQuestion = 0,
    kMsgCloseQuestion = 1,
    kMsgPromptB = 2,
    kMsgPromptA = 3,
    kMsgWelcome = 4,
    kMsgGpsWait = 5,
    kMsgExiting = 6,
    kMsgFinishQuestion = 7,
    kMsgReviewFinished = 9,
    kMsgPaused = 12,
    // Our own: the strip array is full; recording has stopped, the work can still be saved.
    kMsgWorkFull = 13,
    // Our own: the wait screen while the receiver is silent (nothing heard for three seconds).
    kMsgGpsNoData = 14,
    // The corrections: the RTK fix lost, and why the correction link is down.
    kMsgRtkLost = 15,
    kMsgCorrectionsLogin = 16,
    kMsgCorrectionsMountpoint = 17,
    kMsgCorrectionsName = 18,
    kMsgCorrectionsRefused = 19,
    kMsgCorrectionsTimeout = 20,
    kMsgCorrectionsNoData = 21,
    // Our own: a work journal was found at start-up; and where its work was recovered to.
    kMsgResumeQuestion = 22,
    kMsgRecovered = 23,
    // Our own: the name chosen for saving would replace files the chooser did not ask about.
    kMsgReplaceQuestion = 24,
    // Our own: a curve being recorded from A; the straight line's prompt would say to drive
    // straight.
    kMsgPromptCurveB = 25,
    // Our own: the vehicle is beyond the reach of the work's line; and a saved work's line lies
    // beyond it from the first fix (%s: its distance in km), so it is not used.
    kMsgLineTooFar = 26,
    kMsgSavedLineTooFar = 27,
    // Our own: the implement's path ahead crosses worked ground; and the word for the ground
    // worked more than once, beside the hectares.
    kMsgWorkedAhead = 28,
    kMsgOverlap = 29,
    // Our own, of the fields: the choice on the start screen, the boundary being driven, the
    // warnings of the boundary and the headland, the field's share on the panel, the saving.
    kMsgChooseField = 30,
    kMsgNoField = 31,
    kMsgDriveBoundary = 32,
    kMsgContinueLastWork = 33,
    kMsgFinishBoundary = 34,
    kMsgBoundaryAhead = 35,
    kMsgHeadland = 36,
    kMsgSaveToBook = 37,
    kMsgInField = 38,
    kMsgShareOf = 39,
    kMsgNewField = 40,
    kMsgSavingToBook = 41,
    // Our own: the section bar's master button.
    kMsgSectionAuto = 42,
    kMsgSectionManual = 43,
    kMsgSectionOff = 44,
};

// Points messageTables and dialogTextTables at the tables of every language.
void installTexts();
// The text of message id in the current language ("" when the table has none).
const char* messageText(int id);
// Loads the bitmap font of the current language's code page into appState.layout.font.
void loadFont();
// The language chosen by --language (en, es, de, ru), else the locale, else English.
int chooseLanguage(std::string_view option);
