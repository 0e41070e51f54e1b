#include "app/WindowProc.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "app/AbPoints.h"
#include "app/AppState.h"
#include "app/BackgroundWrites.h"
#include "app/FarmSession.h"
#include "app/FieldChoice.h"
#include "app/FieldDrawing.h"
#include "app/FieldSession.h"
#include "app/FixedNumber.h"
#include "app/FrameScope.h"
#include "app/FrameStep.h"
#include "app/GpsControl.h"
#include "app/GpsWait.h"
#include "app/InfoPanel.h"
#include "app/LastSaveFolder.h"
#include "app/MessageScreen.h"
#include "app/ReviewThread.h"
#include "app/SectionBar.h"
#include "app/SectionControl.h"
#include "app/Texts.h"
#include "app/ViewTransform.h"
#include "app/WorkScreen.h"
#include "app/WorkSession.h"
#include "export/GuideLineFile.h"
#include "export/ShapefileChooser.h"
#include "export/ShapefileExport.h"
#include "export/ShapefileReview.h"
#include "gfx/Rasterizer.h"
#include "guidance/GuidanceLines.h"
#include "journal/WorkJournal.h"
#include "platform/Platform.h"
#include "settings/SettingsSheet.h"

namespace {

constexpr double kZoomInLimit = 13.0;
// Far enough out for a farm's day on the largest screen: a pixel is 50 m, 1920 of them 96 km.
constexpr double kZoomOutLimit = 0.002;
constexpr double kZoomStep = 1.1;
constexpr double kZoomOutStep = 0.9090909090909091;  // 1 / 1.1
constexpr const char* kSaveFailedText =
    "The work could not be saved. It is kept: choose another place or name.\n";

// The message screen shows where an interrupted work was recovered to, until a touch.
bool recoveredNoticeShown = false;
// The name chosen for saving, while the driver is asked whether it may replace a work.
std::string replaceCandidate;
// A field's work is being written into the farm book: the message screen stays until it is.
bool savingToBook = false;

struct Tap {
    int x;
    int y;
    bool on(const ButtonRect& button) const { return button.contains(x, y); }
};

void setPrompt(int message) {
    std::strncpy(appState.ui.promptText, messageText(message), sizeof(appState.ui.promptText) - 1);
    appState.ui.promptText[sizeof(appState.ui.promptText) - 1] = 0;
}

// The ground worked and the overlap, after the question whether to finish.
// Numbers with a '.', whatever the locale.
void appendWorkSummary() {
    auto hectares = [](double dm2) { return fixedNumber(dm2 * 1e-6, 2); };
    double ground = 0.0, worked = 0.0;
    {
        // The fix callback adds to both meanwhile.
        std::lock_guard lock(appState.frameLock);
        ground = appState.work.groundArea;
        worked = appState.work.workedArea;
    }
    // Appended piece by piece: GCC 12 takes a chain of + for overlapping copies at -O3.
    std::string summary = " ";
    summary.append(hectares(ground)).append(" ha, ").append(messageText(kMsgOverlap));
    summary.append(" ").append(hectares(std::max(worked - ground, 0.0))).append(" ha");
    char* prompt = appState.ui.promptText;
    const std::size_t used = std::strlen(prompt);
    std::strncat(prompt, summary.c_str(), sizeof(appState.ui.promptText) - 1 - used);
}

void askToConfirm(int message, std::uint8_t kind) {
    setPrompt(message);
    appState.ui.returnState = kStateStart;
    appState.ui.confirmKind = kind;
    appState.ui.screenState = kStateConfirm;
}

void openMenuFromScreen() {
    appState.ui.menuOpen = 1;
    openMenu();
}

// The view changes under the fix callback's feet: both recompute the screen points. The new
// view is drawn at once, not with the next fix: a receiver that has gone quiet sends none.
void zoomBy(double factor) {
    std::lock_guard lock(appState.frameLock);
    appState.settings.zoom = float(double(appState.settings.zoom) * factor);
    rebuildVehicleImage();
    recomputeView();
    journalView({appState.settings.zoom, appState.view.northUp});
    appState.ui.redrawPending = 1;
}

// The zoom and view buttons, alike in work and review. True when the tap hit one of them.
bool viewButton(Tap tap) {
    if (tap.on(appState.layout.btnZoomIn)) {
        // Tested before the multiplication: 12.9 still grows once, to just above 13.
        if (appState.settings.zoom < kZoomInLimit) zoomBy(kZoomStep);
        return true;
    }
    if (tap.on(appState.layout.btnZoomOut)) {
        if (appState.settings.zoom > kZoomOutLimit) zoomBy(kZoomOutStep);
        return true;
    }
    return false;
}

bool viewToggle(Tap tap) {
    if (!tap.on(appState.layout.btnViewToggle)) return false;
    std::lock_guard lock(appState.frameLock);
    appState.view.northUp = !appState.view.northUp;
    recomputeView();
    journalView({appState.settings.zoom, appState.view.northUp});
    appState.ui.redrawPending = 1;
    return true;
}

void togglePause() {
    std::lock_guard lock(appState.frameLock);
    if (appState.ui.paused) {
        appState.ui.paused = 0;
        journalUnpause();
        return;
    }
    // The segment that ends at this fix spans the pause and is left unpainted.
    appState.work.pauseMarks.push_back(appState.work.strips.size());
    appState.ui.paused = 1;
    journalPause(appState.work.strips.size());
}

// Point A on the first tap, point B on the second (or none, for a line at a heading).
void setPoint() {
    std::lock_guard lock(appState.frameLock);
    takeAbPoint();
}

// The section bar's master and boxes. True when the tap was on the bar: it is no tap on the
// map then, whether or not it hit a box.
bool sectionBarTap(Tap tap) {
    std::lock_guard lock(appState.frameLock);
    const SectionBarHit hit = sectionBarHitAt(tap.x, tap.y);
    if (hit.kind == SectionBarHit::None) return false;
    if (hit.kind == SectionBarHit::Master)
        setSectionMaster(nextSectionMaster(sectionControl.master));
    else
        touchSection(hit.section);
    appState.ui.redrawPending = 1;
    return true;
}

void tapWork(Tap tap) {
    if (viewButton(tap)) return;
    if (sectionBarTap(tap)) return;
    if (boundaryBeingDriven() && tap.on(finishBoundaryButton())) {
        finishBoundary();
        return;
    }
    if (tap.on(appState.layout.btnWorkMenu)) {
        openMenuFromScreen();
        return;
    }
    if (viewToggle(tap)) return;
    if (tap.on(appState.layout.btnFinish)) {
        std::uint8_t state = appState.ui.screenState;
        askToConfirm(kMsgFinishQuestion, kConfirmFinish);
        appendWorkSummary();
        appState.ui.savedState = state;
        journalSyncSoon();
        return;
    }
    if (appState.ui.screenState == kStateSettingAB)
        setPoint();
    else
        togglePause();
}

// A farm that keeps a book chooses the work's field first.
void startWork(std::uint8_t workState) {
    if (fieldChoiceOffered())
        enterFieldChoice(workState);
    else
        beginWorkWithoutField(workState);
}

void beginReview() {
    std::string path;
    if (!chooseShapefile(path, true)) return;
    resetWork();
    {
        std::lock_guard lock(appState.frameLock);
        if (!readShapefileForReview(path, appState.projection, appState.work, appState.review))
            return;
    }
    if (isGpsRunning()) setGpsEnabled(0);
    appState.ui.screenState = kStateReview;
    appState.ui.paused = 0;
    appState.ui.menuDuringReview = 0;
    appState.ui.reviewRunning = 1;
    startReview();
}

void tapStart(Tap tap) {
    if (tap.on(appState.layout.btnStartFree))
        startWork(kStateFreeWork);
    else if (tap.on(appState.layout.btnStartAB))
        startWork(kStateSettingAB);
    else if (tap.on(appState.layout.btnReview))
        beginReview();
    else if (tap.on(appState.layout.btnStartMenu))
        openMenuFromScreen();
    else if (tap.on(appState.layout.btnExit))
        askToConfirm(kMsgCloseQuestion, kConfirmClose);
}

void tapReview(Tap tap) {
    // The review has run out by itself: any tap leads back to the start.
    if (!appState.ui.reviewRunning || tap.on(appState.layout.btnFinish)) {
        stopReview();
        appState.ui.screenState = kStateStart;
        return;
    }
    if (viewButton(tap) || viewToggle(tap)) return;
    if (tap.on(appState.layout.btnWorkMenu)) {
        // The review waits while the menu is up; a pause is lifted so it goes on afterwards.
        appState.ui.menuDuringReview = 1;
        appState.ui.menuOpen = 1;
        appState.ui.paused = 0;
        openMenu();
        return;
    }
    if (appState.ui.paused) {
        appState.ui.paused = 0;
    } else {
        appState.ui.pauseNoticePending = 1;
        appState.ui.paused = 1;
    }
}

// The work ends only when it is in a file: a cancelled chooser or a failed save comes back to
// the question, with the work still in memory and in its journal.
void writeWork(const std::string& path) {
    setPrompt(kMsgSaveQuestion);
    appState.ui.confirmKind = kConfirmSave;
    if (!exportShapefile(path, appState.work, appState.projection)) {
        platform::current().messageBox(kSaveFailedText);
        return;
    }
    // The guide line goes beside a work saved whole, for the next pass or season.
    writeGuideLine(path, appState.work, appState.settings.guidancePattern, appState.projection);
    rememberSaveFolder(path);
    journalEndWork();
    appState.ui.screenState = kStateStart;
}

void saveWork() {
    // A field's work goes into the farm book; the screen waits there until it is written.
    if (workHasField()) {
        saveFieldWorkToBook();
        appState.ui.screenState = kStateBeforeStart;
        savingToBook = true;
        showMessageScreen(messageText(kMsgSavingToBook));
        return;
    }
    std::string path;
    if (!chooseShapefile(path, false)) return;
    if (replacesUnaskedFiles(path)) {
        replaceCandidate = path;
        setPrompt(kMsgReplaceQuestion);
        appState.ui.confirmKind = kConfirmReplace;
        return;
    }
    writeWork(path);
}

void answerResume(bool yes) {
    if (yes) {
        resumeInterruptedWork();
        return;
    }
    std::string path = recoverInterruptedWork();
    appState.ui.screenState = kStateStart;
    if (path.empty()) return;
    // The path stays on the screen until the driver touches it.
    char text[sizeof appState.ui.promptText + 4096];
    std::snprintf(text, sizeof text, messageText(kMsgRecovered), path.c_str());
    appState.ui.screenState = kStateBeforeStart;
    recoveredNoticeShown = true;
    showMessageScreen(text);
}

void tapConfirm(Tap tap) {
    if (tap.on(appState.layout.btnYes)) {
        switch (appState.ui.confirmKind) {
            case kConfirmClose:
                showMessageScreen(messageText(kMsgExiting));
                // Nothing more is drawn or tapped while the program shuts down.
                appState.ui.screenState = kStateBeforeStart;
                windowProc(kMsgDestroy, 0, 0);
                break;
            case kConfirmSave:
                saveWork();
                break;
            case kConfirmFinish:
                setPrompt(workHasField() ? kMsgSaveToBook : kMsgSaveQuestion);
                appState.ui.confirmKind = kConfirmSave;
                break;
            case kConfirmContinue:
                answerContinueLastWork(true);
                break;
            case kConfirmResume:
                answerResume(true);
                break;
            case kConfirmReplace:
                writeWork(replaceCandidate);
                break;
            default:
                break;
        }
        return;
    }
    if (tap.on(appState.layout.btnNo)) {
        if (appState.ui.confirmKind == kConfirmResume) {
            answerResume(false);
            return;
        }
        if (appState.ui.confirmKind == kConfirmContinue) {
            answerContinueLastWork(false);
            return;
        }
        // Not over that work: back to "save the work?", to choose another name.
        if (appState.ui.confirmKind == kConfirmReplace) {
            setPrompt(kMsgSaveQuestion);
            appState.ui.confirmKind = kConfirmSave;
            return;
        }
        // The driver declines to save: the work is discarded, and its journal with it.
        if (appState.ui.confirmKind == kConfirmSave) {
            journalEndWork();
            endFieldWork();
        }
        appState.ui.screenState = appState.ui.confirmKind == kConfirmFinish
                                      ? appState.ui.savedState
                                      : appState.ui.returnState;
    }
}

// Yes and No take state 9 the way the wait thread does when a fix arrives: whoever changes it
// first wins, so a work never starts without its receiver or is left behind on the start screen.
bool claimGpsWait(std::uint8_t next) {
    std::uint8_t waiting = kStateGpsWait;
    if (!appState.ui.screenState.compare_exchange_strong(waiting, next)) return false;
    // The wait thread can no longer take the state; it is gone once this returns.
    stopGpsWait();
    return true;
}

void tapGpsWait(Tap tap) {
    if (tap.on(appState.layout.btnYes)) {
        // Held in state 7 while the wait thread ends; the sheet then opens on the wait's pages.
        if (!claimGpsWait(kStateBeforeStart)) return;
        appState.ui.screenState = kStateGpsWait;
        appState.ui.menuOpen = 1;
        setGpsEnabled(0);
        openMenu();
    } else if (tap.on(appState.layout.btnNo)) {
        claimGpsWait(kStateStart);
    }
}

void penDown(std::intptr_t lParam) {
    Tap tap{std::int16_t(lParam & 0xFFFF), std::int16_t((lParam >> 16) & 0xFFFF)};
    switch (appState.ui.screenState) {
        case kStateFreeWork:
        case kStateGuidance:
        case kStateSettingAB:
            tapWork(tap);
            break;
        case kStateStart:
            tapStart(tap);
            break;
        case kStateReview:
            tapReview(tap);
            break;
        case kStateConfirm:
            tapConfirm(tap);
            break;
        case kStateGpsWait:
            tapGpsWait(tap);
            break;
        case kStateFieldChoice:
            tapFieldChoice(tap.x, tap.y);
            break;
        case kStateBeforeStart:
            if (recoveredNoticeShown) {
                recoveredNoticeShown = false;
                appState.ui.screenState = kStateStart;
            }
            break;
        default:
            break;
    }
}

void paintWorkScreen() {
    // Drawn only when a fix (or a change of view) has brought something new.
    if (!appState.ui.redrawPending.exchange(0)) return;
    FrameScope frame;
    if (!frame) return;
    stepWorkFrame();
    drawWorkFrame(frame.target());
}

void paintStartScreen() {
    FrameScope frame;
    if (!frame) return;
    drawStartLayout(frame.target());
}

// The farm thread's news: a fresh reading of the book, a sentence for the driver, the end of a
// work's save into the book.
void takeFarmThreadNews() {
    takeFarmNews();
    const std::string notice = takeFarmNotice();
    if (!notice.empty()) platform::current().messageBox((notice + "\n").c_str());
    bool saved = false;
    if (!savingToBook || !pollFieldWorkSave(saved)) return;
    savingToBook = false;
    if (saved) {
        journalEndWork();
        endFieldWork();
        appState.ui.screenState = kStateStart;
        return;
    }
    // Kept, in memory and in its journal: the question comes again.
    setPrompt(kMsgSaveToBook);
    appState.ui.confirmKind = kConfirmSave;
    appState.ui.screenState = kStateConfirm;
}

void paintFieldChoice() {
    FrameScope frame;
    if (!frame) return;
    drawFieldChoice(frame.target());
}

void paint() {
    if (appState.ui.menuOpen) return;
    takeFarmThreadNews();
    switch (appState.ui.screenState) {
        case kStateFreeWork:
        case kStateGuidance:
        case kStateSettingAB:
            stepFieldWork();
            paintWorkScreen();
            break;
        case kStateFieldChoice:
            paintFieldChoice();
            break;
        case kStateStart:
            paintStartScreen();
            break;
        case kStateConfirm:
            drawConfirmScreen();
            break;
        default:
            // The review and the GPS wait draw on their own threads; state 7 draws nothing.
            break;
    }
}

}  // namespace

void stopReview() {
    // Clearing the pause too lets the thread out of its waiting loop at once.
    appState.ui.paused = 0;
    appState.ui.reviewRunning = 0;
    joinReview();
}

std::intptr_t windowProc(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    switch (message) {
        case kMsgDestroy:
            platform::current().postQuit(0);
            break;
        case kMsgPaint:
            if (journalTakeFailureNotice())
                platform::current().messageBox(
                    "The work journal cannot be written (is the disk full?). The work goes on "
                    "in memory; save it when you can.\n");
            showBackgroundWriteFailure();
            paint();
            break;
        case kMsgChar:
            // 'f' switches the work screen between its plain colour and the picture.
            if (wParam == 'f') appState.ui.pictureBackground = !appState.ui.pictureBackground;
            break;
        case kMsgPenDown:
            penDown(lParam);
            break;
        default:
            break;
    }
    return 0;
}
