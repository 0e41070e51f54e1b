// The screen that waits for a valid fix before a work starts, and the thread that polls it.
#pragma once

void startGpsWait();
