// The screen that waits for a valid fix before a work starts, and the thread that polls it.
#pragma once

void startGpsWait();

// Ends the wait, if any, and returns once its thread no longer draws (used at shut-down).
void stopGpsWait();
