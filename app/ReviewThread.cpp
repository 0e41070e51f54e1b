#include "app/ReviewThread.h"

#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>

#include "app/AppState.h"
#include "app/FrameScope.h"
#include "app/FrameStep.h"
#include "app/InfoPanel.h"
#include "app/ProgramClock.h"
#include "app/Texts.h"
#include "app/ViewTransform.h"
#include "app/WorkScreen.h"
#include "gfx/Pixel.h"
#include "guidance/WorkedStrip.h"

namespace {

std::thread reviewThread;

constexpr gfx::Pixel kPauseNoticeColour = 0xF800;
constexpr int kShownStepMs = 50;

// The pace of the replay, on the program clock, so that tests can move it instead of waiting.
void sleepMilliseconds(int ms) {
    sleepOnProgramClock(Millis(ms));
}

// "PAUSED" over whatever the screen shows.
void drawPauseNotice() {
    FrameScope frame;
    if (!frame) return;
    frame.target().DrawString(appState.layout.font, messageText(kMsgPaused), gfx::kAlignCentre, 0,
                              appState.layout.halfScreenHeight + 27, kPauseNoticeColour);
}

// The finished message over the last frame; it stays until the driver taps.
void drawFinishedNotice() {
    FrameScope frame;
    if (!frame) return;
    frame.target().DrawWrappedString(appState.layout.font, messageText(kMsgReviewFinished),
                                     gfx::kAlignCentre, 0, appState.layout.halfScreenHeight / 4,
                                     gfx::pixelFromColorRef(appState.settings.textColor));
}

// Feeds stored point i in as if it were a fix: the vehicle moves there, one more strip record
// shows, and the totals grow as they did while the work was recorded.
void revealPoint(std::size_t i) {
    AppState& s = appState;
    s.work.position = s.review.positions[i];
    s.work.positionSet = 1;
    s.heading.north = float(s.review.headings[i].y);
    s.heading.east = float(s.review.headings[i].x);
    if (i < s.review.edges.size()) s.work.strips.push_back(s.review.edges[i]);
    if (i > 0) {
        s.work.previousPosition = s.review.positions[i - 1];
        s.work.distance += stepLength(s.work);
    }
    coverNewRecords(s.work);
}

void drawReviewFrame(FrameScope& frame) {
    recomputeView();
    if (!frame) return;
    stepWorkFrame();
    drawWorkFrame(frame.target());
    frame.present();
}

// Holds the replay while the driver has paused it or the menu is open. A stopped review never
// waits here: stopReview clears reviewRunning and paused together.
void waitWhileHeld() {
    AppState& s = appState;
    while ((s.ui.menuDuringReview || s.ui.paused) && s.ui.reviewRunning) sleepMilliseconds(100);
}

void reviewRoutine() {
    AppState& s = appState;
    // The loaded arrays are left alone by everyone else while the review runs.
    const std::size_t count = s.review.positions.size() < s.review.headings.size()
                                  ? s.review.positions.size()
                                  : s.review.headings.size();
    if (s.settings.reviewStep == 0 || count < s.settings.reviewStep) s.settings.reviewStep = 1;
    const std::size_t step = s.settings.reviewStep;

    for (std::size_t i = 0; i < count && s.ui.reviewRunning; ++i) {
        if (s.ui.pauseNoticePending && s.ui.paused) {
            s.ui.pauseNoticePending = 0;
            drawPauseNotice();
        }
        waitWhileHeld();
        if (!s.ui.reviewRunning) break;
        if (i % step == 0) {
            // A shown step lasts 50 ms from its start, the drawing included: the pace does not
            // slow with a long work's frames, and a clock moved once the step is on the screen
            // ends its wait.
            const Millis stepStart = programClock().now();
            {
                FrameScope frame;
                revealPoint(i);
                drawReviewFrame(frame);
            }
            sleepOnProgramClock(stepStart + Millis(kShownStepMs) - programClock().now());
        } else {
            std::lock_guard lock(s.frameLock);
            revealPoint(i);
        }
    }

    {
        std::lock_guard lock(s.frameLock);
        std::vector<PlanePoint>().swap(s.review.positions);
        std::vector<Vec2>().swap(s.review.headings);
        std::vector<TrackEdge>().swap(s.review.edges);
    }
    if (!s.ui.reviewRunning) return;
    drawFinishedNotice();
    s.ui.reviewRunning = 0;
}

}  // namespace

void startReview() {
    joinReview();  // a review that ended by itself is still to be collected
    reviewThread = std::thread(reviewRoutine);
}

void joinReview() {
    if (reviewThread.joinable()) reviewThread.join();
}
