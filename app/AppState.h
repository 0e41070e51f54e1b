// The program's one global record, made of one record per concern: the stored settings, the
// screens and their flags, the newest fix's readings, the layout, the projection, the work, the
// guidance results, the heading, the view and the review. It is statically allocated and
// constant-initialised: every field starts from its initial value, or zero, before anything
// runs. Code that needs one record takes a reference to that record.
//
// Threads: the user-interface thread owns the screen fields; the receiver's reader thread writes
// the fix and guidance fields (under frameLock); the review and GPS-wait threads read and write
// the flags. Flags that cross threads are single atomic bytes; a reader that sees an old value
// acts one cycle late. Whoever draws a frame holds frameLock from the first drawing call to the
// present.
#pragma once

#include <mutex>

#include "app/FixReadings.h"
#include "app/ScreenLayout.h"
#include "app/StoredSettings.h"
#include "app/UiState.h"
#include "app/WorkView.h"
#include "export/ReviewRecord.h"
#include "guidance/GuideResults.h"
#include "guidance/HeadingSmoothing.h"
#include "guidance/Projection.h"
#include "guidance/WorkRecord.h"

struct AppState {
    StoredSettings settings;
    UiState ui;
    FixReadings fix;
    ScreenLayout layout;
    ProjectionTransforms projection;
    WorkRecord work;
    GuideResults guide;
    HeadingState heading;
    WorkView view;
    ReviewRecord review;

    // Serialises the fix callback's changes against the drawing of a frame.
    std::mutex frameLock;
};

extern AppState appState;
