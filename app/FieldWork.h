// The field a work belongs to, and what the work screen and the warnings need of it in the
// work's plane. A work without a field has fieldId 0 and nothing else here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "coverage/CoverageMap.h"
#include "coverage/StripQuad.h"

struct FieldWork {
    std::int64_t fieldId = 0;
    // The book's work this one goes on with (a job of two days); 0 for a new work.
    std::int64_t continuedWorkId = 0;
    std::string startTime;  // ISO 8601, UTC
};
