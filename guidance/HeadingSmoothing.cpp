// Heading smoothing over the last 20 unit steps.
#include "guidance/HeadingSmoothing.h"

#include "app/AppState.h"

namespace {

// The mean takes over only within about 18.2 degrees of the previous heading (its cosine is
// 0.95); in sharp turns and at the start of a work the unsmoothed step is used.
constexpr double kSmoothingCosine = 0.95;
// The history must be full of this work's steps before the mean means anything.
constexpr int kRecordsBeforeSmoothing = 20;

}  // namespace

void smoothHeading(double east, double north, std::uint16_t recordsBefore) {
    float* historyEast = appState.headingHistoryEast;
    float* historyNorth = appState.headingHistoryNorth;
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

    float agreement = appState.headingNorth * meanNorth + appState.headingEast * meanEast;
    if (recordsBefore > kRecordsBeforeSmoothing && agreement > kSmoothingCosine) {
        appState.headingEast = meanEast;
        appState.headingNorth = meanNorth;
    } else {
        appState.headingEast = static_cast<float>(east);
        appState.headingNorth = static_cast<float>(north);
    }
}
