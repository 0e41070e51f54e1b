// What happens to every fix: panel values, filters, heading, strip, and AB-line guidance.
#pragma once

#include "gpslink/satlinker.h"

// The receiver library's fix callback; runs on its reader thread.
void onFix(GPS_POSITION position);
