// The farm book as the program uses it. The farm thread (farm/FarmWriter) opens the book at
// start-up and reads it; the user-interface thread keeps a copy of what it holds, replaced
// whenever the farm thread has read the book again after a write. Nothing here waits for the
// disk: a request is handed to the farm thread and its outcome arrives with a later paint.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "farm/FarmContents.h"

class FarmBook;

// Opens the book named by [farm] (farmBookPath()) on the farm thread and reads it.
void startFarmBook();
// Runs the writes still pending, then closes the book (the end of the program).
void stopFarmBook();
// Waits until the farm thread has run every job handed to it so far (tests, command line).
void drainFarmBook();
// Called on the user-interface thread by every paint: takes in what the farm thread finished.
// True when the contents changed.
bool takeFarmNews();
// A sentence for the driver about the last request that finished (a failed write, an import's
// result), once; empty when there is none.
std::string takeFarmNotice();

// The book as last read, on the user-interface thread; empty until the first reading.
const FarmContents& farmContents();
// Counts the readings taken in: what was worked out from the copy is stale once it changes.
std::uint32_t farmContentsVersion();
// The book could be opened (false also before the first reading).
bool farmBookOpen();

// Requests of the pages and screens; each reads the book again once written.
void renameFieldInBook(std::int64_t fieldId, const std::string& name);
void deleteFieldFromBook(std::int64_t fieldId);
// Every polygon of the file becomes a field, with a headland at the set passes and implement
// width; the notice tells how many fields and hectares came in, or why none did.
void importFieldsIntoBook(const std::string& path, const std::string& nameField);
// Draws every field's headland anew at this many implement widths (1 to 5), and keeps it in
// [farm].
void setHeadlandPasses(int passes);

// Reads the book again after the jobs handed in so far, for the user-interface thread's copy.
void rereadFarmBook();
// Leaves a sentence for the driver (see takeFarmNotice); the farm thread's jobs tell by it.
void leaveFarmNotice(std::string text);
// Hands the job to the farm thread (for the requests above and the saving of a field's work).
void postFarmJob(std::function<void(FarmBook* book, const std::string& openError)> job);
