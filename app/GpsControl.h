// Starting and stopping the receiver link with the configured port and speed.
#pragma once

int isGpsRunning();
void setGpsEnabled(int enable);
// The device to open instead of the numbered port (--gps-device); empty for the numbered port.
void setGpsDeviceOverride(const char* path);
