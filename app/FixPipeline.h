// What happens to every fix: panel values, filters, heading, strip, and AB-line guidance, as the
// screen the fix arrives at asks.
#pragma once

#include <cstdint>

#include "gpslink/satlinker.h"

// What a fix does to the work.
enum class FixUse : std::uint8_t {
    PanelOnly,  // no work screen is up: the panel values only
    FreeWork,   // the strip grows
    SettingAB,  // the strip grows; A, B or the curve is being set
    Guidance,   // the strip grows and the followed line is worked out and sent out
};

FixUse fixUseFor(std::uint8_t screenState);

// The receiver library's fix callback; runs on its reader thread.
void onFix(GPS_POSITION position);
// One fix used as use; the caller holds the frame lock. The NMEA import drives a free work
// through this.
void processFix(const GPS_POSITION& fix, FixUse use);

struct WorkRecord;
// Parts the strip at the work's record count as a pause does, journaled as a pause that ended at
// once; a strip already parted there stays as it is.
void startNewSegment(WorkRecord& work);
