// Starting and stopping the receiver link with the configured port and speed.
#pragma once

// The GPS Setup port entry after COM0..COM9: the receiver is gpsd's, on this machine.
inline constexpr int kGpsdPort = 10;
inline constexpr const char* kGpsdLocal = "gpsd://localhost:2947";

int isGpsRunning();
void setGpsEnabled(int enable);
// The device to open instead of the numbered port (--gps-device); empty for the numbered port.
void setGpsDeviceOverride(const char* path);
// True while the link runs and nothing came from the receiver for kSilentSeconds: the screens
// show "No data" (the receiver is missing, silent, or on another speed) rather than "no fix".
bool receiverSilent();
inline constexpr int kSilentSeconds = 3;
