// What each section of the implement does at a fix: on or off, why, and where along the path
// ahead its state next changes. A section looks at its own strip of ground ahead of the
// implement: it is off where all of that strip is worked (at the coverage threshold), where any
// of it lies outside the field, in the headland when the driver has chosen so, and everywhere
// below the minimum speed. Distances are along the direction of travel, in plane decimetres,
// from the implement's bar at the fix.
#pragma once

#include <cstdint>
#include <limits>
#include <span>

#include "coverage/CoverageMap.h"
#include "coverage/StripQuad.h"
#include "farm/FieldInPlane.h"
#include "sections/SectionLayout.h"

// Why a section is off (or that it is on). Stored in a byte: the screen and the journal keep it.
enum class SectionReason : std::uint8_t {
    On = 0,
    WorkedGround = 1,
    OutsideField = 2,
    Headland = 3,
    TooSlow = 4,
};

struct SectionRules {
    // The valve's time to open and to close, in seconds: the section is told that long before
    // its ground asks for the change.
    double turnOnSeconds = 0.0;
    double turnOffSeconds = 0.0;
    // The share (0 to 1) of a section's strip ahead that must be worked for it to go off: at 1 it
    // stays on while any of its strip is unworked; at 0 it goes off as soon as any is worked.
    double coverageShare = 1.0;
    // Below this speed (dm/s) every section is off.
    double minSpeed = 0.0;
    bool offInHeadland = false;
};

// The implement and its ground at one fix.
struct SectionScene {
    // The implement's bar: its left and right end, in plane decimetres.
    GroundPoint left;
    GroundPoint right;
    // The unit direction of travel.
    GroundPoint travel;
    double speed = 0.0;  // dm/s
    // How far past the look-ahead the answers must reach: the travel to the next fix, with room.
    double horizon = 0.0;  // dm
    const CoverageMap* coverage = nullptr;
    // Quads from this one on are the implement's own newest, which touch its bar: left out.
    std::uint32_t ignoreFrom = 0;
    // The work's field; null for a work without a field (then no section is outside it).
    const FieldInPlane* field = nullptr;
};

inline constexpr double kNoChange = std::numeric_limits<double>::infinity();

struct SectionDecision {
    // What the ground at the bar asks of the section now, and why.
    bool on = false;
    SectionReason reason = SectionReason::On;
    // The first distance ahead (0 < d <= horizon) at which the ground asks for the other state,
    // or kNoChange.
    double changeAt = kNoChange;
    // What the valve is to be told now: the ground's state one turn-on time ahead when that is
    // on, else one turn-off time ahead.
    bool command = false;
};

// Decides every section of layout; out holds layout.count() decisions. Costs what lies near the
// implement's path ahead, however large the work.
void decideSections(const SectionLayout& layout, const SectionRules& rules,
                    const SectionScene& scene, std::span<SectionDecision> out);
