// The sender of guidance output: a thread of its own that takes the latest cross-track error
// from the fix callback and writes its sentences to the configured place.
#pragma once

#include <string>

// Starts sending to the address (udp://HOST:PORT or a device path with ?baud=N); false, and
// nothing started, for an address that is neither.
bool startGuidanceOutput(const std::string& address);
void stopGuidanceOutput();
// Hands a guided fix's cross-track error (dm, positive right of the line) to the sender. It
// never waits for the network or the device: an error not yet sent is replaced by the newer.
void publishGuidance(double crossTrack);
