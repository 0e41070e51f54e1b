#include "app/Lifecycle.h"

#include <unistd.h>

#include <climits>
#include <cstring>

#include "app/AppState.h"
#include "app/FarmSession.h"
#include "app/GpsControl.h"
#include "app/GpsWait.h"
#include "app/GuidanceConfig.h"
#include "app/ImageTable.h"
#include "app/Layout.h"
#include "app/MessageScreen.h"
#include "app/Palette.h"
#include "app/ReviewThread.h"
#include "app/SectionConfig.h"
#include "app/SettingsFile.h"
#include "app/Texts.h"
#include "app/WindowProc.h"
#include "app/WorkSession.h"
#include "gfx/Display.h"
#include "gfx/Font.h"
#include "guidance/Projection.h"
#include "journal/WorkJournal.h"
#include "nmeaout/GuidanceOutput.h"
#include "sections/SectionOutput.h"

namespace {

void createDisplay() {
    AppState& s = appState;
    if (s.layout.display) gfx::Display::Destroy(s.layout.display);
    gfx::DisplayParameters params;
    params.width = 0;
    params.height = 0;
    params.orientation = s.layout.orientation;
    params.swapEffect = 1;
    gfx::setBackendScreen(s.layout.screenWidth, s.layout.screenHeight);
    // The back-end reports the orientation in force, so frames are never turned in software.
    gfx::setBackendOrientation(int(s.layout.orientation));
    s.layout.display = gfx::Display::Create(lifecycleCalls().windowHandle(), params);
}

void showWelcome() {
    showMessageScreen(messageText(kMsgWelcome));
}

void stopThreads() {
    // Nothing may still draw once the display is gone: end the review and the GPS wait first.
    if (appState.ui.reviewRunning) stopReview();
    // A review that has run out by itself ("the review has finished" on the screen) still has
    // its thread to collect.
    joinReview();
    stopGpsWait();
}

void destroyDisplay() {
    std::lock_guard lock(appState.frameLock);
    gfx::Display::Destroy(appState.layout.display);
    appState.layout.display = nullptr;
}

void freeImages() {
    freeScreenImages();
    gfx::DestroyFont(appState.layout.font);
    appState.layout.font = nullptr;
}

bool headlessWindow() {
    if (appState.layout.screenWidth == 0) appState.layout.screenWidth = 480;
    if (appState.layout.screenHeight == 0) appState.layout.screenHeight = 640;
    return true;
}
unsigned headlessRotation() {
    return appState.layout.screenWidth > appState.layout.screenHeight ? 1u : 0u;
}

LifecycleCalls calls = {
    .claimSingleInstance = [] { return true; },
    .createMainWindow = headlessWindow,
    .queryRotation = headlessRotation,
    .windowHandle = []() -> void* { return nullptr; },
    .showMainWindow = [] {},
    .installTexts = installTexts,
    .createDisplay = createDisplay,
    .loadBackgroundImage = loadBackgroundImage,
    .loadFont = loadFont,
    .showWelcome = showWelcome,
    .loadSettings = loadSettings,
    .loadScreenImages = loadScreenImages,
    .computeLayout = computeLayout,
    .configureGeodesyData =
        [] { return configureGeodesyData(appState.projection, appState.layout.moduleDir); },
    .startGps = [] { setGpsEnabled(1); },
    .stopThreads = stopThreads,
    .saveSettings = saveSettingsAtExit,
    .stopGps = [] { setGpsEnabled(0); },
    .releaseProjection = [] { releaseProjection(appState.projection); },
    .destroyDisplay = destroyDisplay,
    .freeImages = freeImages,
};

}  // namespace

LifecycleCalls& lifecycleCalls() {
    return calls;
}

void findModuleDir() {
    char path[sizeof appState.layout.moduleDir] = {};
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) {
        std::strcpy(appState.layout.moduleDir, "./");
        return;
    }
    path[n] = '\0';
    char* slash = std::strrchr(path, '/');
    if (slash) slash[1] = '\0';  // the slash stays
    std::strcpy(appState.layout.moduleDir, path);
}

unsigned orientationFromRotation(unsigned rotation) {
    switch (rotation) {
        case 1:
            return 1;
        case 2:
            return 2;
        case 4:
            return 3;
        default:
            return 0;
    }
}

bool initInstance() {
    AppState& s = appState;
    if (!calls.claimSingleInstance()) return false;
    calls.installTexts();
    if (!calls.createMainWindow()) return false;
    computeScreenMetrics();
    s.layout.orientation = orientationFromRotation(calls.queryRotation());
    calls.createDisplay();
    calls.loadBackgroundImage();
    calls.loadFont();
    calls.showWelcome();
    calls.loadSettings();
    loadPaletteChoice();
    startGuidanceOutput(guidanceOutputAddress());
    if (!sectionConfig.output.empty()) startSectionOutput(sectionConfig.output);
    // The farm book is read on its own thread: the start screen comes up meanwhile.
    startFarmBook();
    calls.loadScreenImages();
    calls.computeLayout();
    s.ui.screenState = kStateStart;
    // Geodesy set-up always reports success: without a transformation start-up goes on.
    calls.configureGeodesyData();
    calls.startGps();
    // A work the program was ended in is offered before anything else.
    offerInterruptedWork();
    calls.showMainWindow();
    return true;
}

void shutDown() {
    calls.stopThreads();
    // Whatever the work has recorded is on the disk before anything else ends; its journal
    // stays for the next start.
    journalStop();
    // A work being saved into the farm book is written whole before the program ends.
    stopFarmBook();
    stopGuidanceOutput();
    // The section boards are told all off before the program goes.
    stopSectionOutput();
    calls.saveSettings();
    calls.stopGps();
    calls.releaseProjection();
    calls.destroyDisplay();
    calls.freeImages();
}
