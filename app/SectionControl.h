// Section control in the work: the implement's sections, their rules, and what each did at the
// last fix. With one section (the initial setting) the implement works as one strip that is
// always on, as it always has; with more, or when the NMEA import asks for them, each section
// switches by itself. The fix callback reads and writes it under the frame lock, as it does the
// work.
#pragma once

#include <cstdint>
#include <vector>

#include "farm/FieldInPlane.h"
#include "guidance/PlanePoint.h"
#include "guidance/Vec2.h"
#include "guidance/WorkRecord.h"
#include "sections/SectionLayout.h"
#include "sections/SectionStrip.h"
#include "sections/SectionSwitch.h"

struct SectionControl {
    // The sections switch by themselves; otherwise the strip is the implement's, always on.
    bool automatic = false;
    SectionLayout layout;
    SectionRules rules;

    // What the ground asked of each section at the work's position, from the last fix.
    std::vector<SectionDecision> decisions;
    bool decided = false;
    // The implement's bar at the work's position, as the sections were decided there.
    TrackEdge bar;
    SectionStrip strip;
    // The work's record count after the strip's last record: a pause or a jump since parts it.
    std::uint32_t recordsAfter = 0;
    // The coverage's size before the last two steps: the implement's own newest quads.
    std::uint32_t quadsBefore[2] = {0, 0};
};

// Beside the global record rather than in it: the layout holds a vector.
extern SectionControl sectionControl;

// Sets the sections and their rules, for a new work; automatic as above.
void configureSections(const SectionLayout& layout, const SectionRules& rules, bool automatic);
// Sets the sections of [sections] for the implement width now, for a new work: automatic with
// two sections or more.
void configureSectionsFromSettings();
struct SectionConfig;
// The rules of a [sections] setting, in the units the decisions take.
SectionRules rulesOf(const SectionConfig& config);
// Forgets what the sections did: a new work, a resume.
void resetSectionStep();
// Records the step of the bar's centre from from to the work's position along unit travel at
// speed (dm/s), with its sections; field is the work's field in its plane, or null. Journals
// what it adds; true when a record was added.
bool recordSectionStep(WorkRecord& work, PlanePoint from, Vec2 travel, double speed,
                       const FieldInPlane* field);
// The step after a jump or the first of a segment: nothing is painted, the sections are decided
// at the work's position.
void decideSectionsHere(WorkRecord& work, Vec2 travel, double speed, double horizon,
                        const FieldInPlane* field);
