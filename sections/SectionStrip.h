// The strip records a step of the implement leaves when its sections switch: each run of
// neighbouring sections that are on paints its own strip, from the run's left edge to its right
// edge, and a section's switch lands at the point of the step where its ground asked for it,
// not at the next fix.
//
// A single run that stays the same continues its strip from fix to fix, as the implement's one
// strip always has; a run that changes, or several runs at once, start strips of their own,
// each parted from the records before it. So the work record keeps its shape (edges at
// records, parted by marks), and everything that reads it (the coverage, the area, the journal,
// the saved shapes, the review) follows the sections without knowing of them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "coverage/StripQuad.h"
#include "guidance/TrackEdge.h"
#include "sections/SectionLayout.h"
#include "sections/SectionSwitch.h"

struct StripPiece {
    // The record starts a strip of its own: no quad joins it to the record before.
    bool parted = false;
    TrackEdge edge;
    // The distance (dm) the work adds with this record: each stretch of the step once.
    double distance = 0.0;
};

class SectionStrip {
  public:
    // The step from the bar's centre at from to its centre at to, along unit travel, with each
    // section's decision at from: its state there and the distance from from at which it
    // switches (once at most in a step; beyond the step it waits for the next). continues says
    // the work's last record is still the one this strip last added (no pause or jump since).
    // Appends the records to pieces.
    void planStep(const SectionLayout& layout, GroundPoint from, GroundPoint to, GroundPoint travel,
                  std::span<const SectionDecision> decisions, bool continues,
                  std::vector<StripPiece>& pieces);
    // The strip is parted: the next step starts afresh.
    void part() { runFirst_ = runLast_ = -1; }

  private:
    struct Run {
        int first;
        int last;
    };
    void findRuns();

    // The run of sections the last record continues, or -1.
    int runFirst_ = -1;
    int runLast_ = -1;
    // Kept from step to step, so that a fix allocates nothing once the work is under way.
    std::vector<double> stops_;
    std::vector<bool> state_;
    std::vector<Run> runs_;
};

// The edges of sections first to last at point p of a bar across travel.
TrackEdge runEdge(const SectionLayout& layout, int first, int last, GroundPoint p,
                  GroundPoint travel);
