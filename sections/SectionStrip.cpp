#include "sections/SectionStrip.h"

#include <algorithm>
#include <cmath>

// The runs of neighbouring sections that are on, left to right.
void SectionStrip::findRuns() {
    runs_.clear();
    const int n = int(state_.size());
    for (int i = 0; i < n;) {
        if (!state_[std::size_t(i)]) {
            ++i;
            continue;
        }
        int j = i;
        while (j + 1 < n && state_[std::size_t(j + 1)]) ++j;
        runs_.push_back({i, j});
        i = j + 1;
    }
}

TrackEdge runEdge(const SectionLayout& layout, int first, int last, GroundPoint p,
                  GroundPoint travel) {
    // Offsets are positive to the right of travel.
    const double rx = travel.y, ry = -travel.x;
    const double l = layout.leftDm(first), r = layout.rightDm(last);
    return {p.x + rx * l, p.y + ry * l, p.x + rx * r, p.y + ry * r};
}

void SectionStrip::planStep(const SectionLayout& layout, GroundPoint from, GroundPoint to,
                            GroundPoint travel, std::span<const SectionDecision> decisions,
                            bool continues, std::vector<StripPiece>& pieces) {
    const int n = layout.count();
    const double length = std::hypot(to.x - from.x, to.y - from.y);
    // The moments of the step at which a section switches, in order, the step's end last.
    std::vector<double>& stops = stops_;
    stops.clear();
    for (int i = 0; i < n; ++i)
        if (decisions[std::size_t(i)].changeAt > 0 && decisions[std::size_t(i)].changeAt < length)
            stops.push_back(decisions[std::size_t(i)].changeAt);
    stops.push_back(length);
    std::sort(stops.begin(), stops.end());
    stops.erase(std::unique(stops.begin(), stops.end()), stops.end());

    if (!continues) part();
    std::vector<bool>& state = state_;
    state.resize(decisions.size());
    for (std::size_t i = 0; i < decisions.size(); ++i) state[i] = decisions[i].on;
    const std::vector<Run>& runs = runs_;
    auto at = [&](double d) {
        const double f = length > 0 ? d / length : 1.0;
        return GroundPoint{from.x + (to.x - from.x) * f, from.y + (to.y - from.y) * f};
    };
    double start = 0.0;
    for (double stop : stops) {
        // The sections that switched at the start of this stretch have done so.
        for (int i = 0; i < n; ++i)
            if (decisions[std::size_t(i)].changeAt > 0 &&
                decisions[std::size_t(i)].changeAt <= start)
                state[std::size_t(i)] = !decisions[std::size_t(i)].on;
        findRuns();
        const double stretch = stop - start;
        if (runs.size() == 1 && runs[0].first == runFirst_ && runs[0].last == runLast_) {
            pieces.push_back(
                {false, runEdge(layout, runFirst_, runLast_, at(stop), travel), stretch});
        } else {
            bool counted = false;
            for (const Run& run : runs) {
                pieces.push_back(
                    {true, runEdge(layout, run.first, run.last, at(start), travel), 0.0});
                pieces.push_back({false, runEdge(layout, run.first, run.last, at(stop), travel),
                                  counted ? 0.0 : stretch});
                counted = true;
            }
            if (runs.size() == 1) {
                runFirst_ = runs[0].first;
                runLast_ = runs[0].last;
            } else {
                part();
            }
        }
        start = stop;
    }
}
