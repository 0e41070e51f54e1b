// The work in progress as a whole: a new work, and an interrupted work found at start-up with the
// question whether to resume it and both answers.
#pragma once

#include <string>

#include "journal/JournalReader.h"

// A new work: nothing of the work before it is kept, and the next fix is its origin.
void resetWork();
// At start-up: reads the journal. When it holds a work, asks "Resume the interrupted work?" on
// the confirmation screen and returns true. A journal that cannot be read is renamed aside
// (".damaged") and no question is asked.
bool offerInterruptedWork();
// Yes: the work as it was, continued after the wait for a fix in its own state.
void resumeInterruptedWork();
// No: the work is written to recovered-YYYYMMDD-HHMMSS.shp in the folder of the last save; the
// journal is removed once that file is complete. The path of the file, empty on failure (the
// journal is then kept).
std::string recoverInterruptedWork();
// Puts a journal's work into the program's record (the work arrays, origin, points, guide lines,
// view). When newSegment is set the first fix afterwards starts a new segment; true when a pause
// mark was added for it.
bool loadJournalWork(const journal::JournalContents& work, bool newSegment);
