// The labels of the Corrections page in the four languages, the same index meaning the same
// label everywhere.
#pragma once

#include <QString>

enum CorrectionsTextId : int {
    kCorTitle,
    kCorOn,
    kCorCaster,
    kCorPort,
    kCorMountpoint,
    kCorFetchList,
    kCorUser,
    kCorPassword,
    kCorVersion,
    kCorStateOff,
    kCorStateWaiting,  // format: one %1, seconds
    kCorStateConnecting,
    kCorStateStreaming,  // format: %1 good frames, %2 bad frames
    kCorStateTableRead,  // format: %1 mountpoints
    kCorLogin,
    kCorMountpointUnknown,
    kCorNameNotResolved,
    kCorRefused,
    kCorTimeout,
    kCorNoData,
    kCorNoCaster,
    kCorTextCount
};

// A label of the current language (appState.ui.language).
QString correctionsText(int id);
