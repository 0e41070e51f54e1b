// Loading a saved work for a review.
#pragma once

#include <string>

#include "export/ReviewRecord.h"
#include "guidance/Projection.h"
#include "guidance/WorkRecord.h"

// 1 when loaded, 0 when the file is not a usable work. Cuts path at its last '.'. Once the file
// names its origin, work becomes the saved work's empty beginning in its plane (with its pause
// marks) and review holds its records, positions and headings.
int readShapefileForReview(std::string& path, ProjectionTransforms& transforms, WorkRecord& work,
                           ReviewRecord& review);
