// The field a work belongs to, and what the work screen and the warnings need of it in the
// work's plane. A work without a field has fieldId 0 and nothing else here. The fix callback
// reads and writes it under the frame lock, as it does the work.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "coverage/CoverageMap.h"
#include "farm/BoundaryRecorder.h"
#include "farm/FarmContents.h"
#include "farm/FieldInPlane.h"
#include "guidance/SharedValue.h"

struct FieldWork {
    std::int64_t fieldId = 0;
    // The field as the book held it when it was chosen.
    FieldEntry entry;
    // The book's work this one goes on with (a job of two days); 0 for a new work.
    std::int64_t continuedWorkId = 0;
    std::string startTime;  // ISO 8601, UTC
    // Tells the field prepared by the farm thread for this work from one for a work before.
    std::uint32_t serial = 0;

    // The field in the work's plane: there once the plane has its origin and the farm thread
    // has drawn the field into it.
    std::uint8_t preparing = 0;
    std::uint8_t inPlane = 0;
    FieldInPlane shape;
    // The field's earlier works cut in triangles, drawn dimmed beneath the work.
    CoverageMap earlier;
    // The work's ground that lies in the field (dm^2).
    double groundInField = 0.0;

    // The implement's path ahead crosses the boundary; the vehicle is in the headland.
    SharedValue<std::uint8_t> boundaryAhead{0};
    SharedValue<std::uint8_t> inHeadland{0};
    std::uint8_t boundarySounded = 0;

    // A boundary being driven: the field it makes is added to the book when it closes.
    std::optional<BoundaryRecorder> recorder;
};

// The work's field, beside the global record rather than in it: its names and times are strings,
// which cannot be constant-initialised with the record.
extern FieldWork workField;
