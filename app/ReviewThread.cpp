#include "app/ReviewThread.h"

#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>

#include "app/AppState.h"
#include "app/FrameScope.h"
#include "app/InfoPanel.h"
#include "app/Texts.h"
#include "app/WorkScreen.h"
#include "gfx/Pixel.h"
#include "guidance/WorkedStrip.h"

namespace {

std::thread reviewThread;

constexpr gfx::Pixel kPauseNoticeColour = 0xF800;

void sleepMilliseconds(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// "PAUSED" over whatever the screen shows.
void drawPauseNotice() {
    FrameScope frame;
    if (!frame) return;
    frame.target().DrawString(appState.font, messageText(kMsgPaused), gfx::kAlignCentre, 0,
                              appState.halfScreenHeight + 27, kPauseNoticeColour);
}

// The finished message over the last frame; it stays until the driver taps.
void drawFinishedNotice() {
    FrameScope frame;
    if (!frame) return;
    frame.target().DrawWrappedString(appState.font, messageText(kMsgReviewFinished),
                                     gfx::kAlignCentre, 0, appState.halfScreenHeight / 4,
                                     gfx::pixelFromColorRef(appState.textColor));
}

// Feeds stored point i in as if it were a fix: the vehicle moves there, one more strip record
// shows, and the totals grow as they did while the work was recorded.
void revealPoint(std::size_t i) {
    AppState& s = appState;
    s.position = s.reviewPositions[i];
    s.positionSet = 1;
    s.headingNorth = float(s.reviewHeadings[i].y);
    s.headingEast = float(s.reviewHeadings[i].x);
    s.fixCount.store(std::uint16_t(s.fixCount.load() + 1));
    if (i > 0) {
        s.previousPosition = s.reviewPositions[i - 1];
        s.distance += stepLength();
    }
    addStripArea();
}

void drawReviewFrame(FrameScope& frame) {
    recomputeView();
    if (!frame) return;
    drawWorkFrame(frame.target());
    frame.present();
}

// Holds the replay while the driver has paused it or the menu is open. A stopped review never
// waits here: stopReview clears reviewRunning and paused together.
void waitWhileHeld() {
    AppState& s = appState;
    while ((s.menuDuringReview || s.paused) && s.reviewRunning) sleepMilliseconds(100);
}

void reviewRoutine() {
    AppState& s = appState;
    // The loaded arrays are left alone by everyone else while the review runs.
    const std::size_t count = s.reviewPositions.size() < s.reviewHeadings.size()
                                  ? s.reviewPositions.size()
                                  : s.reviewHeadings.size();
    if (s.reviewStep == 0 || count < s.reviewStep) s.reviewStep = 1;
    const std::size_t step = s.reviewStep;

    for (std::size_t i = 0; i < count && s.reviewRunning; ++i) {
        if (s.pauseNoticePending && s.paused) {
            s.pauseNoticePending = 0;
            drawPauseNotice();
        }
        waitWhileHeld();
        if (!s.reviewRunning) break;
        if (i % step == 0) {
            {
                FrameScope frame;
                revealPoint(i);
                drawReviewFrame(frame);
            }
            sleepMilliseconds(50);
        } else {
            std::lock_guard lock(s.frameLock);
            revealPoint(i);
        }
    }

    {
        std::lock_guard lock(s.frameLock);
        std::vector<PlanePoint>().swap(s.reviewPositions);
        std::vector<Vec2>().swap(s.reviewHeadings);
    }
    if (!s.reviewRunning) return;
    drawFinishedNotice();
    s.reviewRunning = 0;
}

}  // namespace

void startReview() {
    joinReview();  // a review that ended by itself is still to be collected
    reviewThread = std::thread(reviewRoutine);
}

void joinReview() {
    if (reviewThread.joinable()) reviewThread.join();
}
