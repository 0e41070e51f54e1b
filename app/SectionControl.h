// Section control in the work: the implement's sections, their rules, and what each did at the
// last fix. With one section (the initial setting) the implement works as one strip that is
// always on, as it always has; with more, or when the NMEA import asks for them, each section
// switches by itself, unless the driver forces it or sets the master to Manual or Off. The fix
// callback and the work screen read and write it under the frame lock, as they do the work.
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

// The master switch of the section bar: sections switch by themselves, are all on but for those
// the driver forces off, or are all off. Stored in a byte: the journal keeps it.
enum class SectionMaster : std::uint8_t { Auto = 0, Manual = 1, Off = 2 };
// A section the driver has touched: forced on or off until he touches it again.
enum class SectionForce : std::uint8_t { None = 0, On = 1, Off = 2 };
// What the section bar shows of a section.
enum class SectionShown : std::uint8_t {
    On,
    Off,  // master Off
    ForcedOn,
    ForcedOff,
    WorkedGround,
    OutsideField,
    Headland,
    TooSlow,
};

struct SectionControl {
    // Section control is in force: the sections switch, and the bar is on the work screen.
    // Otherwise the strip is the implement's, always on.
    bool active = false;
    SectionLayout layout;
    SectionRules rules;
    SectionMaster master = SectionMaster::Auto;
    std::vector<SectionForce> forced;  // one a section
    // The work is paused: nothing is recorded, so nothing may be sprayed either.
    bool paused = false;

    // Each section at the work's position, from the last fix: on, where it next switches and
    // what its valve is told, after the master and the forces; reason is the ground's own.
    std::vector<SectionDecision> decisions;
    // The same as the ground alone asked, and the speed it was asked at (dm/s).
    std::vector<SectionDecision> ground;
    double speed = 0.0;
    bool decided = false;
    // The implement's bar at the work's position, as the sections were decided there.
    TrackEdge bar;
    SectionStrip strip;
    // The records of the step being recorded, kept between fixes for their storage.
    std::vector<StripPiece> pieces;
    // The work's record count after the strip's last record: a pause or a jump since parts it.
    std::uint32_t recordsAfter = 0;
    // The coverage's size before the last two steps: the implement's own newest quads.
    std::uint32_t quadsBefore[2] = {0, 0};
};

// Beside the global record rather than in it: the layout holds a vector.
extern SectionControl sectionControl;

// Sets the sections and their rules, for a new work, with the master on Auto and no section
// forced; active as above.
void configureSections(const SectionLayout& layout, const SectionRules& rules, bool active);
// Sets the sections of [sections] for the implement width now, for a new work: automatic with
// two sections or more.
void configureSectionsFromSettings();
struct SectionConfig;
// The rules of a [sections] setting, in the units the decisions take.
SectionRules rulesOf(const SectionConfig& config);
// Forgets what the sections did: a new work, a resume.
void resetSectionStep();
// The section bar, on the user-interface thread under the frame lock. Each change takes effect at
// once (the boards are told, the journal keeps it) and paints from the next fix.
void setSectionMaster(SectionMaster master);
// The first touch of a section forces it to the other state than it has now; the next gives it
// back to the master.
void touchSection(int section);
// Journals the master and the forces as they are: a new journal starts with them.
void journalSectionChoice();
// What the bar shows of section (0-based, left to right).
SectionShown sectionShown(int section);
// The master and the forces as a journal has them: a resumed work switches as it did.
void restoreSectionStates(std::uint8_t master, const std::vector<std::uint8_t>& forces);

// Records the step of the bar's centre from from to the work's position along unit travel at
// speed (dm/s), with its sections; field is the work's field in its plane, or null. Journals
// what it adds; true when a record was added.
bool recordSectionStep(WorkRecord& work, PlanePoint from, Vec2 travel, double speed,
                       const FieldInPlane* field);
// The step after a jump or the first of a segment: nothing is painted, the sections are decided
// at the work's position.
void decideSectionsHere(WorkRecord& work, Vec2 travel, double speed, double horizon,
                        const FieldInPlane* field);
