// The program's entry: command line, the window system, start-up, the message loop, shut-down.
#pragma once

// Returns the exit code: 0 after a normal end (and for a second start), 2 for a bad option.
int start(int argc, char** argv);
