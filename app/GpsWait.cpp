#include "app/GpsWait.h"

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

#include "app/AppState.h"
#include "app/FrameScope.h"
#include "app/GpsControl.h"
#include "app/MessageScreen.h"
#include "app/ProgramClock.h"
#include "app/Texts.h"
#include "gfx/Rasterizer.h"
#include "platform/Platform.h"

namespace {

constexpr int kHighestQuality = 8;
const char* const kQualityNames[kHighestQuality + 1] = {
    "Invalid",   "GPS fix",   "DGPS fix",          "PPS fix",         "RTK",
    "Float RTK", "Estimated", "Manual input mode", "Simulation mode",
};

// Each wait has its own number. A wait that was cancelled and restarted while its thread
// still slept must not come back as a second poller of the new wait.
std::atomic<unsigned> currentWait{0};

// Wait threads still alive, so that shut-down can be sure none draws any more; and the signal
// that wakes a sleeping one when its wait is stopped.
std::mutex threadsMutex;
std::condition_variable threadsChanged;
int runningThreads = 0;

// A receiver that says nothing at all is told apart from one that has no fix yet.
void drawWaitScreen(int quality, bool silent) {
    char text[260];
    if (silent) {
        std::snprintf(text, sizeof(text), "%s", messageText(kMsgGpsNoData));
    } else {
        std::snprintf(text, sizeof(text), messageText(kMsgGpsWait), kQualityNames[quality]);
    }
    FrameScope frame;
    if (!frame) return;
    drawMessageLayout(frame.target(), text);
    for (const ButtonImage* button :
         {&appState.layout.imgGpsSettings, &appState.layout.imgGpsCancel})
        if (button->image) frame.target().Blit(button->x, button->y, button->image);
}

bool waitGoesOn(unsigned wait) {
    return appState.ui.waitingForFix && currentWait == wait;
}

void waitForFix(unsigned wait) {
    std::uint8_t polls = 0;
    while (waitGoesOn(wait)) {
        int quality = appState.fix.fixQuality;
        // Out of the range the receiver may report: no fix at all, and shown as such.
        bool known = quality >= 0 && quality <= kHighestQuality;
        // The first two polls show the screen whatever the receiver says, so the driver sees
        // where the work waits; a fix is taken from the third poll on.
        if (known && quality >= 1 && polls > 1 && waitGoesOn(wait)) {
            std::uint8_t waiting = kStateGpsWait;
            if (appState.ui.screenState.compare_exchange_strong(waiting, appState.ui.returnState)) {
                // The flag says a wait runs; this one is over.
                appState.ui.waitingForFix = 0;
                appState.ui.redrawPending = 1;
                platform::current().requestPaint();
            }
            return;
        }
        ++polls;
        if (!known) {
            appState.fix.fixQuality = 0;
            quality = 0;
        }
        drawWaitScreen(quality, receiverSilent());
        std::unique_lock lock(threadsMutex);
        waitOnProgramClock(threadsChanged, lock, Millis(1000),
                           [wait] { return !waitGoesOn(wait); });
    }
}

void waitThread(unsigned wait) {
    waitForFix(wait);
    std::lock_guard lock(threadsMutex);
    --runningThreads;
    // Under the lock: once it is released this thread touches nothing shared any more.
    threadsChanged.notify_all();
}

}  // namespace

void startGpsWait() {
    if (!isGpsRunning()) setGpsEnabled(1);
    appState.ui.waitingForFix = 1;
    appState.fix.fixQuality = 0;
    appState.ui.screenState = kStateGpsWait;
    unsigned wait = ++currentWait;
    {
        std::lock_guard lock(threadsMutex);
        ++runningThreads;
    }
    // Never joined: it ends by itself once the wait is over.
    std::thread(waitThread, wait).detach();
}

void stopGpsWait() {
    appState.ui.waitingForFix = 0;
    ++currentWait;
    std::unique_lock lock(threadsMutex);
    threadsChanged.notify_all();
    threadsChanged.wait(lock, [] { return runningThreads == 0; });
}
