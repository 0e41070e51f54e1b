#include "app/FrameStep.h"

#include <cstdint>

#include "app/AppState.h"
#include "app/Corrections.h"
#include "app/FieldWork.h"
#include "platform/Platform.h"

namespace {

// Frames between two steering sounds while the vehicle is off its line.
constexpr std::uint8_t kSoundFrames = 3;

// While the vehicle is off its line, a sound on every third frame tells the driver which way
// to steer without looking.
void steeringSound() {
    AppState& s = appState;
    if (s.ui.soundCountdown != 0) --s.ui.soundCountdown;
    if (s.ui.soundCountdown != 0 || !s.ui.abReady || s.guide.arrowCount == 0 || s.ui.paused) return;
    platform::current().playSound(s.guide.steerLeft ? "SONIDOLEFT" : "SONIDORIGHT");
    s.ui.soundCountdown = kSoundFrames;
}

// The warning of worked ground ahead sounds once each time it comes on.
void workedAheadSound() {
    AppState& s = appState;
    const bool ahead = s.work.workedAhead != 0 && !s.ui.paused;
    if (ahead && !s.ui.workedAheadSounded) platform::current().playSound("SONIDOWORKED");
    s.ui.workedAheadSounded = ahead ? 1 : 0;
}

// The warning of the boundary ahead, likewise once each time it comes on.
void boundaryAheadSound() {
    AppState& s = appState;
    const bool ahead = workField.inPlane && workField.boundaryAhead != 0 && !s.ui.paused;
    if (ahead && !workField.boundarySounded) platform::current().playSound("SONIDOBOUNDARY");
    workField.boundarySounded = ahead ? 1 : 0;
}

}  // namespace

void stepWorkFrame() {
    AppState& s = appState;
    const std::uint8_t state = s.ui.screenState;
    // The guidance is drawn, and steered by, once the work has a strip.
    if (state == kStateGuidance && s.work.strips.size() >= 2) steeringSound();
    if (state == kStateSettingAB) {
        s.ui.promptShown = s.ui.promptBlink;
        s.ui.promptBlink = s.ui.promptBlink ? 0 : 1;
    }
    if (state != kStateReview) {
        workedAheadSound();
        boundaryAheadSound();
    }
    watchRtkFix(s.fix.fixQuality);
}
