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

void decide(const WorkRecord& work, SectionControl& c, PlanePoint p, Vec2 travel, double speed,
            double horizon, const FieldInPlane* field) {
    c.decisions.resize(std::size_t(c.layout.count()));
    const SectionScene scene = sceneAt(work, c, p, travel, speed, horizon, field);
    decideSections(c.layout, c.rules, scene, c.decisions);
    c.bar = {scene.left.x, scene.left.y, scene.right.x, scene.right.y};
    c.decided = true;
    SectionState state;
    state.sectionCount = c.layout.count();
    state.speedKmh = speed * kKmhOfDmPerS;
    for (int i = 0; i < c.layout.count(); ++i)
        if (c.decisions[std::size_t(i)].command) state.sectionsOn |= std::uint64_t(1) << i;
    publishSections(state);
}

void noteStep(const WorkRecord& work, SectionControl& c) {
    c.quadsBefore[0] = c.quadsBefore[1];
    c.quadsBefore[1] = work.coverage.size();
}

}  // namespace

void configureSections(const SectionLayout& layout, const SectionRules& rules, bool automatic) {
    sectionControl.layout = layout;
    sectionControl.rules = rules;
    sectionControl.automatic = automatic && layout.count() > 0;
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
    std::vector<StripPiece> pieces;
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
