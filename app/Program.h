// The program's entry: command line, the window system, start-up, the message loop, shut-down.
#pragma once

#include "app/CommandLine.h"

namespace platform {
class QtPlatform;
}

// With a QApplication in place: the window system, the simulator when asked, and the start-up
// sequence. False when the program must end at once (another instance runs, or no window).
bool openProgram(const CommandLine& line);
// The shut-down sequence (when started) and the release of the window system.
void closeProgram(bool started);
// The window system of the open program; null when none is open.
platform::QtPlatform* programPlatform();

// Returns the exit code: 0 after a normal end (and for a second start), 2 for a bad option.
int start(int argc, char** argv);
