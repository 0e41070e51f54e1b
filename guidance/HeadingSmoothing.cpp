// Heading smoothing over the last 20 unit steps.
#include "guidance/HeadingSmoothing.h"

namespace {

// The mean takes over only within about 18.2 degrees of the previous heading (its cosine is
// 0.95); in sharp turns and at the start of a work the unsmoothed step is used.
constexpr double kSmoothingCosine = 0.95;
// The history must be full of this work's steps before the mean means anything.
constexpr int kRecordsBeforeSmoothing = 20;

}  // namespace

void smoothHeading(HeadingState& heading, double east, double north, std::uint32_t recordsBefore) {
    float* historyEast = heading.historyEast;
    float* historyNorth = heading.historyNorth;
    for (int i = 0; i + 1 < kHeadingHistory; ++i) {
        historyEast[i] = historyEast[i + 1];
        historyNorth[i] = historyNorth[i + 1];
    }
    historyEast[kHeadingHistory - 1] = static_cast<float>(east);
    historyNorth[kHeadingHistory - 1] = static_cast<float>(north);

    float sumEast = 0.0f;
    float sumNorth = 0.0f;
    for (int i = 0; i < kHeadingHistory; ++i) {
        sumEast += historyEast[i];
        sumNorth += historyNorth[i];
    }
    auto meanEast = static_cast<float>(sumEast * 0.05);
    auto meanNorth = static_cast<float>(sumNorth * 0.05);

    float agreement = heading.north * meanNorth + heading.east * meanEast;
    if (recordsBefore > kRecordsBeforeSmoothing && agreement > kSmoothingCosine) {
        heading.east = meanEast;
        heading.north = meanNorth;
    } else {
        heading.east = static_cast<float>(east);
        heading.north = static_cast<float>(north);
    }
}
