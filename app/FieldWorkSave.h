// A field's work into the farm book: what the book keeps of it is copied on the calling thread
// (under the work's lock while the fix thread may still add to the work), and the farm thread
// unites its quads into the work's ground and saves it. Used when the driver finishes a field's
// work and by the command line's NMEA import.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "coverage/StripQuad.h"
#include "farm/FarmContents.h"
#include "guidance/WorkPlane.h"

struct WorkRecord;

// Called on the farm thread once the work is in the book (its id, and an empty error) or could
// not be saved (0 and the reason).
using FieldWorkSaved = std::function<void(std::int64_t workId, std::string error)>;

// What is handed to the farm thread: the entry with the work's figures, every quad of its
// coverage map and its plane.
struct FieldWorkCopy {
    WorkEntry entry;
    std::vector<StripQuad> quads;
    WorkPlane plane;
};

// entry names the field (fieldId), the work continued (id; 0 for a new work), the start and end
// times and the implement width; the ground, overlap and distance are the work's own.
FieldWorkCopy copyFieldWork(const WorkRecord& work, WorkEntry entry);
// Hands the copy to the farm thread (app/FarmSession's postFarmJob).
void postFieldWorkSave(FieldWorkCopy copy, FieldWorkSaved saved);
// Both: copy now, save on the farm thread.
void saveFieldWork(const WorkRecord& work, WorkEntry entry, FieldWorkSaved saved);

// ISO 8601 in UTC, to the second: 2026-06-01T08:15:00Z.
std::string isoUtc(std::time_t time);
std::string isoUtc(int year, int month, int day, int hour, int minute, int second);
