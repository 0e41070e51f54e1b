#include "app/SectionControl.h"

#include <cmath>

#include "app/AppState.h"
#include "app/FixPipeline.h"
#include "app/SectionConfig.h"
#include "guidance/WorkedStrip.h"
#include "journal/WorkJournal.h"
#include "sections/SectionOutput.h"

SectionControl sectionControl;

namespace {

constexpr double kKmhOfDmPerS = 0.36;

// The bar's centre p across travel: the implement's own edges.
SectionScene sceneAt(const WorkRecord& work, const SectionControl& c, PlanePoint p, Vec2 travel,
                     double speed, double horizon, const FieldInPlane* field) {
    const TrackEdge bar =
        runEdge(c.layout, 0, c.layout.count() - 1, {p.x, p.y}, {travel.x, travel.y});
    SectionScene scene;
    scene.left = {bar.leftX, bar.leftY};
    scene.right = {bar.rightX, bar.rightY};
    scene.travel = {travel.x, travel.y};
    scene.speed = speed;
    scene.horizon = horizon;
    scene.coverage = &work.coverage;
    scene.ignoreFrom = c.quadsBefore[0];
    scene.field = field;
    return scene;
}

// The master and the forces over what the ground asked.
void applyDriversChoice(SectionControl& c) {
    c.decisions = c.ground;
    for (std::size_t i = 0; i < c.decisions.size(); ++i) {
        SectionDecision& d = c.decisions[i];
        const SectionForce force = i < c.forced.size() ? c.forced[i] : SectionForce::None;
        bool held = false, on = false;
        if (c.master == SectionMaster::Off || force == SectionForce::Off || c.paused) {
            held = true;
        } else if (force == SectionForce::On || c.master == SectionMaster::Manual) {
            held = on = true;
        }
        if (!held) continue;
        d.on = d.command = on;
        d.changeAt = kNoChange;
    }
}

void publish(const SectionControl& c, double speed);

void decide(const WorkRecord& work, SectionControl& c, PlanePoint p, Vec2 travel, double speed,
            double horizon, const FieldInPlane* field) {
    c.ground.resize(std::size_t(c.layout.count()));
    const SectionScene scene = sceneAt(work, c, p, travel, speed, horizon, field);
    decideSections(c.layout, c.rules, scene, c.ground);
    c.decided = true;
    c.speed = speed;
    c.bar = {scene.left.x, scene.left.y, scene.right.x, scene.right.y};
    applyDriversChoice(c);
    publish(c, speed);
}

void publish(const SectionControl& c, double speed) {
    SectionState state;
    state.sectionCount = c.layout.count();
    state.speedKmh = speed * kKmhOfDmPerS;
    for (int i = 0; i < c.layout.count(); ++i)
        if (c.decisions[std::size_t(i)].command) state.sectionsOn |= std::uint64_t(1) << i;
    publishSections(state);
}

// The driver changed the master or a force: the decisions, the boards and the journal follow.
void changedByDriver(SectionControl& c) {
    if (c.decided) {
        applyDriversChoice(c);
        publish(c, c.speed);
    }
    journalSectionChoice();
}

void noteStep(const WorkRecord& work, SectionControl& c) {
    c.quadsBefore[0] = c.quadsBefore[1];
    c.quadsBefore[1] = work.coverage.size();
}

}  // namespace

void configureSections(const SectionLayout& layout, const SectionRules& rules, bool active) {
    sectionControl.layout = layout;
    sectionControl.rules = rules;
    sectionControl.active = active && layout.count() > 0;
    sectionControl.master = SectionMaster::Auto;
    sectionControl.forced.assign(std::size_t(layout.count()), SectionForce::None);
    resetSectionStep();
}

void configureSectionsFromSettings() {
    const SectionConfig& config = sectionConfig;
    const SectionLayout layout = sectionLayoutNow(appState.settings.implementWidth, nullptr);
    configureSections(layout, rulesOf(config), layout.count() >= 2);
}

SectionRules rulesOf(const SectionConfig& config) {
    SectionRules rules;
    rules.turnOnSeconds = config.turnOnS;
    rules.turnOffSeconds = config.turnOffS;
    rules.coverageShare = config.coveragePercent / 100.0;
    rules.minSpeed = config.minSpeedKmh / kKmhOfDmPerS;
    rules.offInHeadland = config.headlandOff;
    return rules;
}

void resetSectionStep() {
    SectionControl& c = sectionControl;
    c.decisions.clear();
    c.ground.clear();
    c.decided = false;
    c.strip.part();
    c.recordsAfter = 0;
    c.quadsBefore[0] = c.quadsBefore[1] = 0;
}

void decideSectionsHere(WorkRecord& work, Vec2 travel, double speed, double horizon,
                        const FieldInPlane* field) {
    SectionControl& c = sectionControl;
    c.strip.part();
    noteStep(work, c);
    noteStep(work, c);
    decide(work, c, work.position, travel, speed, horizon, field);
}

void journalSectionChoice() {
    const SectionControl& c = sectionControl;
    if (!c.active) return;
    std::vector<std::uint8_t> forces(c.forced.size());
    for (std::size_t i = 0; i < forces.size(); ++i) forces[i] = std::uint8_t(c.forced[i]);
    journalSections(std::uint8_t(c.master), forces);
}

void setSectionMaster(SectionMaster master) {
    SectionControl& c = sectionControl;
    c.master = master;
    changedByDriver(c);
}

void touchSection(int section) {
    SectionControl& c = sectionControl;
    if (section < 0 || std::size_t(section) >= c.forced.size()) return;
    SectionForce& force = c.forced[std::size_t(section)];
    if (force != SectionForce::None) {
        force = SectionForce::None;
    } else {
        const bool on = sectionShown(section) == SectionShown::On ||
                        sectionShown(section) == SectionShown::ForcedOn;
        force = on ? SectionForce::Off : SectionForce::On;
    }
    changedByDriver(c);
}

SectionShown sectionShown(int section) {
    const SectionControl& c = sectionControl;
    const std::size_t i = std::size_t(section);
    const SectionForce force = i < c.forced.size() ? c.forced[i] : SectionForce::None;
    // Off is everything off, whatever is forced.
    if (c.master == SectionMaster::Off) return SectionShown::Off;
    if (force == SectionForce::On) return SectionShown::ForcedOn;
    if (force == SectionForce::Off) return SectionShown::ForcedOff;
    if (c.master == SectionMaster::Manual || !c.decided || i >= c.ground.size() || c.ground[i].on)
        return SectionShown::On;
    switch (c.ground[i].reason) {
        case SectionReason::OutsideField:
            return SectionShown::OutsideField;
        case SectionReason::Headland:
            return SectionShown::Headland;
        case SectionReason::TooSlow:
            return SectionShown::TooSlow;
        default:
            return SectionShown::WorkedGround;
    }
}

void restoreSectionStates(std::uint8_t master, const std::vector<std::uint8_t>& forces) {
    SectionControl& c = sectionControl;
    if (master > std::uint8_t(SectionMaster::Off) || forces.size() != c.forced.size()) return;
    for (std::uint8_t f : forces)
        if (f > std::uint8_t(SectionForce::Off)) return;
    c.master = SectionMaster(master);
    for (std::size_t i = 0; i < forces.size(); ++i) c.forced[i] = SectionForce(forces[i]);
    if (c.decided) applyDriversChoice(c);
}

bool recordSectionStep(WorkRecord& work, PlanePoint from, Vec2 travel, double speed,
                       const FieldInPlane* field) {
    SectionControl& c = sectionControl;
    const double length = std::hypot(work.position.x - from.x, work.position.y - from.y);
    // The next step is taken to be as long as this one, with room for a late fix.
    const double horizon = 1.5 * length + 1.0;
    if (!c.decided) decide(work, c, from, travel, speed, horizon, field);

    const std::uint32_t count = work.strips.size();
    const bool continues = count > 0 && count == c.recordsAfter &&
                           (work.pauseMarks.empty() || work.pauseMarks.back() != count);
    std::vector<StripPiece>& pieces = c.pieces;
    pieces.clear();
    c.strip.planStep(c.layout, {from.x, from.y}, {work.position.x, work.position.y},
                     {travel.x, travel.y}, c.decisions, continues, pieces);
    noteStep(work, c);
    bool added = false;
    for (const StripPiece& piece : pieces) {
        if (piece.parted) startNewSegment(work);
        if (!appendEdge(work, piece.edge, piece.distance)) break;
        journalStripAdded(work);
        added = true;
    }
    c.recordsAfter = work.strips.size();
    decide(work, c, work.position, travel, speed, horizon, field);
    return added;
}
