// The program's corrections: one NTRIP client that runs whenever the receiver link runs, from
// start-up on, so the receiver has its RTK fix before the driver starts a work. Its settings are
// the [corrections] section of sulcovane.conf, with --ntrip's caster, mountpoint and login on
// top.
#pragma once

#include <string>

#include "corrections/CorrectionHealth.h"
#include "corrections/NtripClient.h"
#include "gpslink/satlinker.h"

// --ntrip: turns the corrections on and overrides caster, port, mountpoint and login.
void setCorrectionsOverride(const NtripSettings& fromCommandLine);
void clearCorrectionsOverride();
// Reads sulcovane.conf's [corrections] again (at start-up; the file is read once otherwise).
void reloadCorrectionsSettings();
// The settings in force: the file's, with the command line's on top.
NtripSettings correctionsSettings();
// The driver's settings from the Corrections page: stored, and the client follows them if the
// receiver link runs. The file is written in the background; a failure is shown at the next
// paint.
void applyCorrectionsSettings(const NtripSettings& settings);

// Called as the receiver link starts and stops.
void startCorrections();
void stopCorrections();

NtripClient& correctionsClient();

// The fix callback keeps the last fix for the position sent up to the caster (a copy under a
// lock held for nothing else).
void rememberFixForCaster(const GPS_POSITION& fix);
std::string positionForCaster();
// The last fix's position in degrees; false before the first fix.
bool lastFixPosition(double& latitude, double& longitude);

// What the information panel shows of the corrections, worked out as a frame is drawn; plays
// the warning sound when the RTK fix has been lost.
struct CorrectionsView {
    bool shown = false;        // corrections on, or a fix type worth telling
    const char* fixType = "";  // "RTK", "Float", "DGPS", "GPS", or "" without a fix
    int ageSeconds = -1;       // of the last good correction; -1: none yet or off
    int messageId = -1;        // a text of the message tables to show below, or -1
};
// Once per work frame: follows the fix quality, and sounds the warning when RTK is lost.
void watchRtkFix(int fixQuality);
CorrectionsView correctionsView(int fixQuality);
