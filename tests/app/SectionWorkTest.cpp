// Section control through the real fix callback, measured on the coverage the program records:
// GEOS unites the work's own quads, and the drive's geometry says where each edge belongs.
// Passes overlap by a quarter of the implement, so two of its eight sections drive over worked
// ground on every pass after the first; a field's boundary runs at 30 degrees to the passes.
#include <geos_c.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <vector>

#include "app/AppState.h"
#include "app/FieldWork.h"
#include "app/FixPipeline.h"
#include "app/SectionControl.h"
#include "farm/FieldInPlane.h"
#include "tests/app/PipelineTestSupport.h"
#include "tests/app/SectionDrive.h"
#include "tests/app/SectionFixture.h"

namespace {

using namespace section_drive;

class SectionWork : public SectionWorkFixture {
  protected:
    Geos geos_;
};

TEST_F(SectionWork, SectionsOverWorkedGroundGoOffLeavingNoGapAndLittleOverlap) {
    struct Case {
        double kmh;
        int hz;
        SectionRules rules;
    };
    SectionRules valves;
    valves.turnOnSeconds = 0.3;
    valves.turnOffSeconds = 0.2;
    for (const Case& c : {Case{10, 5, {}}, Case{25, 10, valves}}) {
        SetUp();
        useSections(c.rules);
        section_drive::drivePasses(c.kmh, c.hz);
        // The passes' own band, between the headlands where they turn.
        GEOSGeometry* band =
            geos_.box(-kHalfWidth, 0, (kPasses - 1) * kSpacing + kHalfWidth, kLength);
        Coverage worked = coverageOf(geos_, band);
        const double ground = geos_.area(worked.ground);
        // Every pass worked all of its band: the ground is the band's.
        EXPECT_NEAR(ground, geos_.area(band), 0.002 * geos_.area(band)) << c.kmh;
        // Without sections a quarter of every pass after the first is worked twice.
        EXPECT_LT(worked.sum - ground, 0.01 * ground) << c.kmh << " km/h";
        EXPECT_LT(uncoveredBeyond(geos_, band, worked.ground, 0.5), 1.0) << c.kmh << " km/h";
        GEOSGeom_destroy_r(geos_.h(), band);
        GEOSGeom_destroy_r(geos_.h(), worked.ground);
    }
}

TEST_F(SectionWork, SectionsStopAtTheFieldsBoundaryAtAnAngle) {
    SectionRules valves;
    valves.turnOnSeconds = 0.3;
    valves.turnOffSeconds = 0.2;
    for (double kmh : {10.0, 25.0}) {
        SetUp();
        useSections(kmh > 20 ? valves : SectionRules{});
        const std::vector<GroundPoint> ring = slantedFieldRing();
        {
            std::lock_guard lock(appState.frameLock);
            workField.fieldId = 1;
            workField.inPlane = 1;
            workField.shape = fieldInPlane({ring}, {});
        }
        section_drive::drivePasses(kmh, kmh > 20 ? 10 : 5);
        GEOSGeometry* field = geos_.polygon(ring);
        GEOSGeometry* everywhere = geos_.box(-1e5, -1e5, 1e5, 1e5);
        Coverage worked = coverageOf(geos_, everywhere);
        GEOSGeometry* outside = GEOSDifference_r(geos_.h(), worked.ground, field);
        EXPECT_LT(geos_.area(outside), 0.005 * geos_.area(field)) << kmh << " km/h";
        // The field's share done counts the ground of every run of sections in it.
        GEOSGeometry* inField = GEOSIntersection_r(geos_.h(), worked.ground, field);
        EXPECT_NEAR(workField.groundInField, geos_.area(inField), 0.002 * geos_.area(inField));
        GEOSGeom_destroy_r(geos_.h(), inField);
        // No section sprays more than 5 cm beyond the boundary.
        EXPECT_LT(uncoveredBeyond(geos_, worked.ground, field, 1.0), 1.0) << kmh << " km/h";
        // And each works its ground up to where the boundary meets its first corner: the
        // field's band, less for each section the triangle of its width under the slant.
        GEOSGeometry* band = geos_.box(-kHalfWidth, 0, (kPasses - 1) * kSpacing + kHalfWidth, 1e4);
        GEOSGeometry* inside = GEOSIntersection_r(geos_.h(), band, field);
        const double sectionWidth = 2 * kHalfWidth / 8;
        const double slantLoss = 0.5 * sectionWidth * sectionWidth * std::tan(M_PI / 6);
        const int sectionColumns = int(std::lround(
            geos_.area(inside) > 0 ? ((kPasses - 1) * kSpacing + 2 * kHalfWidth) / sectionWidth
                                   : 0));
        GEOSGeometry* workedInside = GEOSIntersection_r(geos_.h(), worked.ground, inside);
        EXPECT_NEAR(geos_.area(workedInside), geos_.area(inside) - sectionColumns * slantLoss,
                    0.5 * sectionColumns * sectionWidth)
            << kmh << " km/h";
        for (GEOSGeometry* g :
             {field, everywhere, outside, band, inside, workedInside, worked.ground})
            GEOSGeom_destroy_r(geos_.h(), g);
    }
}

TEST_F(SectionWork, TheDriverForcesSectionsAndSetsTheMaster) {
    GEOSGeometry* band = geos_.box(-kHalfWidth, 0, (kPasses - 1) * kSpacing + kHalfWidth, kLength);
    // The leftmost section of the first pass, which no other pass reaches.
    GEOSGeometry* first = geos_.box(-kHalfWidth, 0, -kHalfWidth + 15, kLength);
    // Under Manual the passes overlap as one strip would, but where a pass's leftmost section
    // (forced off) meets its neighbour's: the second and third pass turn that way to each other.
    const double twice = 2 * (2 * kHalfWidth - kSpacing) * kLength;
    for (SectionMaster master : {SectionMaster::Auto, SectionMaster::Manual, SectionMaster::Off}) {
        SetUp();
        useSections({});
        {
            std::lock_guard lock(appState.frameLock);
            setSectionMaster(master);
            touchSection(0);  // on now, so forced off; a touch more and back to the master
            touchSection(3);
            touchSection(3);
            EXPECT_EQ(sectionShown(0),
                      master == SectionMaster::Off ? SectionShown::Off : SectionShown::ForcedOff);
        }
        drivePasses(10, 5);
        Coverage worked = coverageOf(geos_, band);
        GEOSGeometry* inFirst = GEOSIntersection_r(geos_.h(), worked.ground, first);
        EXPECT_LT(geos_.area(inFirst), 1.0) << int(master);
        const double overlap = worked.sum - geos_.area(worked.ground);
        if (master == SectionMaster::Auto) {
            EXPECT_LT(overlap, 0.01 * geos_.area(band));
        } else if (master == SectionMaster::Manual) {
            EXPECT_NEAR(overlap, twice, 0.01 * twice);
        } else {
            EXPECT_LT(geos_.area(worked.ground), 1.0);
        }
        GEOSGeom_destroy_r(geos_.h(), inFirst);
        GEOSGeom_destroy_r(geos_.h(), worked.ground);
    }
    GEOSGeom_destroy_r(geos_.h(), band);
    GEOSGeom_destroy_r(geos_.h(), first);
}

TEST_F(SectionWork, APausedWorkTellsEverySectionOff) {
    useSections({});
    appState.ui.paused = 1;
    int fixes = 0, toldOn = 0;
    drivePath(passPath(kLength / 100), 10, 5, [&] {
        ++fixes;
        for (const SectionDecision& d : sectionControl.decisions) toldOn += d.command ? 1 : 0;
    });
    EXPECT_GT(fixes, 100);
    EXPECT_EQ(toldOn, 0) << "sections told on while nothing is recorded";
    EXPECT_EQ(appState.work.coverage.size(), 0u);
    appState.ui.paused = 0;
}

TEST_F(SectionWork, OneSectionAsBeforeKeepsTheImplementsStrip) {
    // Without section control a pass over worked ground is worked again: the overlap counts.
    section_drive::drivePasses(10, 5);
    GEOSGeometry* band = geos_.box(-kHalfWidth, 0, (kPasses - 1) * kSpacing + kHalfWidth, kLength);
    Coverage worked = coverageOf(geos_, band);
    const double twice = (kPasses - 1) * (2 * kHalfWidth - kSpacing) * kLength;
    EXPECT_NEAR(worked.sum - geos_.area(worked.ground), twice, 0.002 * twice);
    GEOSGeom_destroy_r(geos_.h(), band);
    GEOSGeom_destroy_r(geos_.h(), worked.ground);
}

}  // namespace
