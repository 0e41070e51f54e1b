// Every test of the whole program runs it once, in a child process started from a private
// folder: Settings.dat lands beside that child's executable, and the single-instance lock, the
// configuration folder and the program's global state are the test's alone.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// In the test process: runs the current test again in a child, reports its failure, and
// returns false (the caller returns). In the child: returns true, and the test goes on.
bool isolatedRun();

// The child's private folder (its executable's folder), ending without '/'.
const std::string& privateFolder();

// Starts this test program's executable again with these arguments, in this process's
// environment less the entries that begin with one of `dropped`, plus `added`; in a process
// group of its own when asked. The child's pid, or -1.
pid_t spawnTestProgram(const std::string& executable, const std::vector<std::string>& arguments,
                       const std::vector<std::string>& dropped,
                       const std::vector<std::string>& added, bool ownGroup = false);
