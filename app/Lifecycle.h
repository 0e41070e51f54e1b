// Start-up and shut-down of the program, in their fixed order. Every step that belongs to
// another subsystem goes through LifecycleCalls, so that the order itself can be checked with
// the steps replaced by recorders.
#pragma once

struct LifecycleCalls {
    // Platform steps, filled by the window system in force.
    bool (*claimSingleInstance)();  // false: another Sulcovane runs and was raised
    bool (*createMainWindow)();     // sets screenWidth/screenHeight; false: no window
    unsigned (*queryRotation)();    // the display rotation answer, before mapping
    void* (*windowHandle)();
    void (*showMainWindow)();
    // The subsystems' steps.
    void (*installTexts)();
    void (*createDisplay)();
    void (*loadBackgroundImage)();
    void (*loadFont)();
    void (*showWelcome)();
    void (*loadSettings)();
    void (*loadScreenImages)();
    void (*computeLayout)();
    int (*configureGeodesyData)();
    void (*startGps)();
    // Shut-down.
    void (*stopThreads)();
    void (*saveSettings)();
    void (*stopGps)();
    void (*releaseProjection)();
    void (*destroyDisplay)();
    void (*freeImages)();
};

// The steps in force; the defaults are the real subsystems with a headless window.
LifecycleCalls& lifecycleCalls();

// moduleDir = the executable's folder, ending with '/'.
void findModuleDir();
// The start-up sequence; false ends the program at once with exit code 0.
bool initInstance();
// The shut-down sequence: settings saved, receiver stopped, projection, display and every
// picture released.
void shutDown();
// Maps the rotation answer to appState.layout.orientation: 1 -> 1, 2 -> 2, 4 -> 3, else 0.
unsigned orientationFromRotation(unsigned rotation);
