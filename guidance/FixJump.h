// A fix that lies farther from the last accepted position than the vehicle can have driven
// since: a receiver that lost its signal, fell back from RTK or caught a reflection. Such a fix
// is not worked ground.
#pragma once

#include "gpslink/satlinker.h"

// Beyond the speed times the time, what a fix may still be off by (dm).
inline constexpr double kJumpMargin = 50.0;

// The fix's time of day in seconds (UTC); negative when the fix carries no time.
double fixSeconds(const GPS_SYSTEMTIME& time);
// Whether a fix at distance (dm) from a position lies beyond the reach of a vehicle that went
// at the faster of the two speeds (knots) for the time between their UTC times (s). Times are
// the fixes' own, so a log replayed fast or a simulator at a high rate is judged as driven. A
// fix without a time is never beyond reach; a time that runs backwards gives the margin alone;
// a day's turn at midnight is allowed for.
bool beyondReach(double distance, double fromSeconds, double toSeconds, double fromKnots,
                 double toKnots);
