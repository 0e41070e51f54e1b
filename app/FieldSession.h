// A work's field from the choice to the book: the work that starts in a field, the boundary
// driven to make one, the field drawn into the work's plane once the plane is known (on the
// farm thread, so that no fix and no frame waits for it), and the work saved into the book.
#pragma once

#include <cstdint>

// The start screen's work, without a field, as it always was.
void beginWorkWithoutField(std::uint8_t workState);
// A work in the book's field; with continueLast it goes on with the field's last work, whose
// ground counts as worked.
void beginFieldWork(std::uint8_t workState, std::int64_t fieldId, bool continueLast);
// A work that records the field's boundary as it is driven.
void beginBoundaryDrive(std::uint8_t workState);
// The two works above made ready without waiting for the receiver (the command line, tests).
void prepareFieldWork(std::uint8_t workState, std::int64_t fieldId, bool continueLast);
void prepareBoundaryDrive(std::uint8_t workState);
// The driver closes the boundary being driven ("Finish boundary"): it becomes a field.
void finishBoundary();

// Once a frame on the user-interface thread: asks the farm thread for the field in the plane
// when the plane has its origin, takes in what it has prepared, closes a boundary that the
// vehicle closed by coming back to its start, and takes in a field the book has just made.
void stepFieldWork();

// The work belongs to a field: finishing it saves it into the farm book.
bool workHasField();
// Hands the work to the farm thread to be saved into the book; the screen waits on the
// message screen until pollFieldWorkSave() tells how it went.
void saveFieldWorkToBook();
// Called by every paint while a save runs: true once it has ended, with saved telling whether
// the work is in the book.
bool pollFieldWorkSave(bool& saved);
// The work is over (saved or discarded): nothing of its field stays.
void endFieldWork();
// A work resumed from its journal takes back the field it was in, as noted beside the journal.
void resumeFieldOfWork();
