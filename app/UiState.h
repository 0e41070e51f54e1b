// The screens and their flags: which screen is up, what the confirmation asks, the prompt, the
// language and its tables, and the flags the review, GPS-wait and receiver threads share with
// the user-interface thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "guidance/GuidancePattern.h"

using Flag = std::atomic<std::uint8_t>;

// Screen states.
enum : std::uint8_t {
    kStateFreeWork = 0,
    kStateGuidance = 1,
    kStateSettingAB = 2,
    kStateStart = 3,
    kStateReview = 4,
    kStateConfirm = 5,
    kStateBeforeStart = 7,
    kStateGpsWait = 9,
    // Our own: the choice of field before a new work.
    kStateFieldChoice = 10,
};

// What Yes does on the confirmation screen.
enum : std::uint8_t {
    kConfirmClose = 0,
    kConfirmSave = 1,
    kConfirmFinish = 3,
    // Our own: resume the work of a journal found at start-up.
    kConfirmResume = 4,
    // Our own: saving would replace a work the file chooser did not ask about.
    kConfirmReplace = 5,
    // Our own: go on with the chosen field's last work, or start a new one.
    kConfirmContinue = 6,
    // Our own: the driven boundary is finished and becomes a field.
    kConfirmBoundary = 7,
};

struct UiState {
    Flag screenState{kStateBeforeStart};
    std::uint8_t returnState = 0;
    std::uint8_t savedState = 0;
    std::uint8_t confirmKind = 0;
    char promptText[260] = {};
    // The warning of worked ground ahead has sounded since it came on.
    std::uint8_t workedAheadSounded = 0;
    std::uint8_t language = 0;  // 0 English, 1 Spanish, 2 German, 3 Russian
    const char* const* messageTables[4] = {};
    const wchar_t* const* dialogTextTables[4] = {};
    Flag menuOpen{0};
    Flag paused{0};
    Flag reviewRunning{0};
    Flag menuDuringReview{0};
    Flag pauseNoticePending{0};
    Flag waitingForFix{0};
    Flag redrawPending{0};
    Flag pictureBackground{0};
    Flag abReady{0};
    std::uint8_t soundCountdown = 0;
    // The prompt of the A and B screen shows in the next frame; it shows in this one.
    std::uint8_t promptBlink = 0;
    std::uint8_t promptShown = 0;
    Flag gpsRunning{0};
    // A line chosen from a saved work, in longitude and latitude pairs, waiting for the next AB
    // work's first position; its pattern.
    std::vector<double> savedLineLonLat;
    std::uint8_t savedLinePattern = kPatternStraight;
    // A saved work's line lay beyond guidance's reach of the work's first position, this far
    // (dm), and was not used; 0 when none was refused. Shown until A is set or the work ends.
    double savedLineRefusedAt = 0.0;
};
