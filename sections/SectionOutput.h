// The sender of the section state to a section board: a thread of its own that writes the
// machine messages at every change and ten times a second without one, as the boards' watchdog
// expects, to UDP or a serial device.
#pragma once

#include <string>

#include "sections/MachineMessages.h"

// The port the machine modules listen on for the guidance program's messages, and the one they
// expect those messages from (some boards drop a frame from any other port).
constexpr int kMachineModulePort = 8888;
constexpr int kGuidanceProgramPort = 9999;
// The rate of the machine modules' USB serial line, used when the address has no ?baud=N.
constexpr int kMachineModuleBaud = 38400;

// Starts sending to the address (udp://HOST:PORT, or a device path with ?baud=N); false, and
// nothing started, for an address that is neither. Nothing is sent before the first state.
bool startSectionOutput(const std::string& address);
// Stops the sender; a board that had sections on is sent them all off first, rather than
// leaving them on until its watchdog runs out.
void stopSectionOutput();
// Hands the newest section state to the sender. It never waits for the network or the device:
// a state not yet sent is replaced by the newer.
void publishSections(const SectionState& state);
