// The journal of the work in progress, as the rest of the program sees it: what happens to the
// work is handed to the writer thread as it happens, and the journal ends only when the work
// has been saved, discarded by the driver or recovered into a shapefile.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "guidance/Vec2.h"
#include "guidance/WorkRecord.h"
#include "journal/JournalWorkKind.h"

// What the work screen showed, so that a resumed work looks as it did.
struct JournalView {
    float zoom = 3.0f;
    std::uint8_t northUp = 0;
};

// The program keeps a journal; the parts of it that tests run alone do not, unless asked. folder
// gives the folder of Settings.dat, ending with '/', where the journal lives; null keeps the
// folder given before.
void journalSetEnabled(bool enabled, std::string (*folder)() = nullptr);
bool journalEnabled();

// Where the journal lives: beside Settings.dat.
std::string journalPath();

// The fix callback, on the work's first fix (its origin): a new journal for the work. A journal
// still open is set aside first, never overwritten.
void journalBeginWork(JournalWorkKind kind, const WorkRecord& work, std::uint16_t implementWidth,
                      std::uint16_t implementHalfWidth, JournalView view);
// After appendStrip has added the work's newest record.
void journalStripAdded(const WorkRecord& work);
void journalPause(std::uint32_t mark);
void journalUnpause();
void journalPointA(Vec2 a);
void journalPointB(Vec2 b, double spacing);
// The curved reference line of the work, before its point B.
void journalCurvePath(const std::vector<Vec2>& path);
void journalView(JournalView view);
// The section bar's master and each section's force, as the record of type 11 has them.
void journalSections(std::uint8_t master, const std::vector<std::uint8_t>& forces);
// Finish was tapped: what has been handed over is made durable now.
void journalSyncSoon();
// The work is saved or discarded: its journal is removed after what came before it.
void journalEndWork();
// Continues the journal at path after its first goodBytes bytes (a resumed work).
void journalContinue(std::uint64_t goodBytes);
// Writes everything out and waits for the disk (shut-down, logout); false when some records
// could not be written.
bool journalFlush();
// Ends the writer thread after a flush; the journal stays for the next start.
void journalStop();
// True while a work has a journal open.
bool journalOpen();
// True once, when records have started to fail to reach the disk.
bool journalTakeFailureNotice();
