// Journals that lie behind whole checksums. A record whose values no work of the program could
// have written ends the trusted part, as a torn one does; a work whose line lies far from where
// the vehicle now is resumes, says so and goes on recording.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/FixPipeline.h"
#include "app/Texts.h"
#include "app/WorkScreen.h"
#include "app/WorkSession.h"
#include "gfx/Rasterizer.h"
#include "gfx/Surface.h"
#include "journal/JournalReader.h"
#include "tests/app/PipelineTestSupport.h"
#include "tests/journal/JournalBytes.h"
#include "tests/screens/FrameText.h"
#include "tests/screens/ScreenFixture.h"

namespace {

using journal_test::JournalBytes;
constexpr double kFar = 1.2e8;  // 12 000 km in decimetres
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// The work screen's warnings.
constexpr gfx::Pixel kRed = 0xF800;

// An AB work near Zurich: its start, origin and three strips a pass apart.
void goodStart(JournalBytes& j) {
    j.start();
    j.origin(8.55, 47.37);
    for (int i = 0; i < 3; ++i) j.strip({-60.0, 10.0 * i, 60.0, 10.0 * i}, 10.0 * i, 1200.0 * i);
}

struct Lie {
    const char* what;
    std::function<void(JournalBytes&)> write;
};

const Lie kLies[] = {
    {"a strip 12 000 km out",
     [](JournalBytes& j) {
         goodStart(j);
         j.lie();
         j.strip({kFar - 60.0, 30.0, kFar + 60.0, 30.0}, 30.0, 3600.0);
     }},
    {"a worked area below nothing",
     [](JournalBytes& j) {
         goodStart(j);
         j.lie();
         j.strip({-60.0, 30.0, 60.0, 30.0}, 30.0, -3600.0);
     }},
    {"a distance that is not a number",
     [](JournalBytes& j) {
         goodStart(j);
         j.lie();
         j.strip({-60.0, 30.0, 60.0, 30.0}, kNaN, 3600.0);
     }},
    {"point A 12 000 km out",
     [](JournalBytes& j) {
         goodStart(j);
         j.lie();
         j.pointA({0.0, kFar});
     }},
    {"a curve whose last point lies 12 000 km out",
     [](JournalBytes& j) {
         goodStart(j);
         j.pointA({0.0, 0.0});
         j.lie();
         j.curve({{0.0, 0.0}, {0.0, 100.0}, {kFar, 200.0}});
     }},
    {"a curve's second record 12 000 km out",
     [](JournalBytes& j) {
         goodStart(j);
         j.pointA({0.0, 0.0});
         std::vector<Vec2> first;
         for (std::size_t i = 0; i < journal::kCurvePointsPerRecord; ++i)
             first.push_back({0.0, 10.0 * double(i)});
         j.curve(first);
         j.lie();
         j.curve({{kFar, 0.0}});
     }},
    {"a spacing of 100 km",
     [](JournalBytes& j) {
         goodStart(j);
         j.pointA({0.0, 0.0});
         j.lie();
         j.pointB({0.0, 500.0}, 1e6);
     }},
    {"a spacing below nothing",
     [](JournalBytes& j) {
         goodStart(j);
         j.pointA({0.0, 0.0});
         j.lie();
         j.pointB({0.0, 500.0}, -120.0);
     }},
    {"point B 12 000 km out",
     [](JournalBytes& j) {
         goodStart(j);
         j.pointA({0.0, 0.0});
         j.lie();
         j.pointB({0.0, kFar}, 120.0);
     }},
    {"a zoom of 1e30",
     [](JournalBytes& j) {
         goodStart(j);
         j.lie();
         j.view(1e30f, 0);
     }},
    {"an implement half wider than itself",
     [](JournalBytes& j) {
         j.lie();
         j.start(1200, 60000);
         j.origin(8.55, 47.37);
     }},
};

TEST(HostileJournal, ValuesNoWorkCouldHaveWrittenEndTheTrustedPart) {
    for (const Lie& lie : kLies) {
        SCOPED_TRACE(lie.what);
        JournalBytes j;
        lie.write(j);
        // Whole records go on after the lie: none of them is trusted either.
        j.strip({-60.0, 40.0, 60.0, 40.0}, 40.0, 4800.0);
        const journal::JournalContents c = journal::readJournal(j.bytes.data(), j.bytes.size());
        ASSERT_TRUE(c.readable);
        EXPECT_EQ(c.records, j.recordsBeforeLie);
        EXPECT_EQ(c.goodBytes, j.lieAt);
        EXPECT_TRUE(c.damaged);
        // Exactly the work of the records before the lie: nothing of the lie stays.
        const journal::JournalContents before = journal::readJournal(j.bytes.data(), j.lieAt);
        EXPECT_FALSE(before.damaged);
        EXPECT_EQ(c.strips.size(), before.strips.size());
        EXPECT_EQ(c.distance, before.distance);
        EXPECT_EQ(c.area, before.area);
        EXPECT_EQ(c.pointASet, before.pointASet);
        EXPECT_EQ(c.pointA.y, before.pointA.y);
        EXPECT_EQ(c.pointBSet, before.pointBSet);
        EXPECT_EQ(c.spacing, before.spacing);
        EXPECT_EQ(c.curvePath.size(), before.curvePath.size());
        EXPECT_EQ(c.viewSet, before.viewSet);
        EXPECT_EQ(c.implementHalfWidth, before.implementHalfWidth);
    }
}

// A journal written where every value is the program's own is taken whole: the checks refuse
// lies, not the widest or farthest work the program can make.
TEST(HostileJournal, AWorkAtTheEdgesOfItsPlaneIsTakenWhole) {
    JournalBytes j;
    j.start(65534, 32767);
    j.origin(8.55, 47.37);
    j.strip({-4.0e6, 2.9e6, -4.0e6 + 120.0, 2.9e6}, 0.0, 0.0);
    j.strip({4.0e6, -2.9e6, 4.0e6 + 120.0, -2.9e6}, 1e7, 1e9);
    j.pointA({-4.0e6, 2.9e6});
    j.curve({{-4.0e6, 2.9e6}, {4.0e6, -2.9e6}});
    j.pointB({4.0e6, -2.9e6}, 6553.4);
    j.view(13.0f, 1);
    // As far out as the zoom button goes: 0.002 shrinks once more.
    j.view(0.0019f, 0);
    const journal::JournalContents c = journal::readJournal(j.bytes.data(), j.bytes.size());
    EXPECT_FALSE(c.damaged);
    EXPECT_EQ(c.records, j.records);
    EXPECT_TRUE(c.guided());
}

// The screen as the driver sees it, read back with a font whose glyphs say their own codes.
std::string redTextOfWorkScreen() {
    AppState& s = appState;
    gfx::Font* font = s.layout.font;
    s.layout.font = screens_test::readableFont();
    screens_test::portraitLayout();
    gfx::Surface* surface = gfx::CreateSurface(240, 320);
    {
        gfx::Rasterizer r(surface);
        r.Clear(0);
        drawWorkScreen(r);
    }
    struct Image {
        const gfx::Surface* surface;
        int width, height;
        gfx::Pixel at(int x, int y) const { return surface->pixel(x, y); }
    } image{surface, 240, 320};
    const std::string text = screens_test::joined(screens_test::drawnLines(image, kRed));
    gfx::DestroySurface(surface);
    s.layout.font = font;
    return text;
}

// The work of an interrupted field in Zurich is resumed on a receiver 12 000 km away: its curve
// of 4 002 points lies 1 000 000 spacings from the vehicle, and the vehicle outside the work's
// plane. The screen says the line is too far, no parallel is made that far out and nothing is
// recorded there. Resumed 300 km east, inside the plane, the work goes on recording beside the
// same words. Resumed on the field, the guidance is there, three widths right of the curve.
TEST(HostileJournal, ACurve12000KmFromTheVehicleResumesAndSaysLineTooFar) {
    installTexts();
    pipeline_test::resetWork();
    JournalBytes j;
    goodStart(j);
    j.pointA({0.0, 0.0});
    std::vector<Vec2> curve;
    for (int i = 0; i < 4002; ++i) curve.push_back({40.0 * std::sin(i / 600.0), 10.0 * i});
    j.curve(curve);
    j.pointB(curve.back(), 120.0);
    const journal::JournalContents c = journal::readJournal(j.bytes.data(), j.bytes.size());
    ASSERT_FALSE(c.damaged);
    ASSERT_TRUE(c.guided());
    loadJournalWork(c, true);
    ASSERT_TRUE(appState.work.curveActive);
    appState.ui.screenState = kStateGuidance;
    pipeline_test::PlaneFixes plane(8.55, 47.37);

    const std::size_t before = appState.work.strips.size();
    for (int i = 0; i < 100; ++i) onFix(plane.fixAt({0.0, -kFar + 15.0 * i}));
    EXPECT_TRUE(appState.guide.lineTooFar);
    EXPECT_EQ(appState.guide.arrowCount, 0);
    EXPECT_EQ(appState.work.strips.size(), before);
    for (const CurveParallel& p : appState.work.curve.cache) EXPECT_LT(std::abs(p.number), 1000);
    EXPECT_NE(redTextOfWorkScreen().find(messageText(kMsgLineTooFar)), std::string::npos);
    EXPECT_STREQ(messageText(kMsgLineTooFar), "Line too far");

    loadJournalWork(c, true);
    appState.ui.screenState = kStateGuidance;
    for (int i = 0; i < 100; ++i) onFix(plane.fixAt({3.0e6, 15.0 * i}));
    EXPECT_TRUE(appState.guide.lineTooFar);
    EXPECT_EQ(appState.work.strips.size(), before + 99);  // the first fix only seeds
    for (const CurveParallel& p : appState.work.curve.cache) EXPECT_LT(std::abs(p.number), 1000);
    EXPECT_NE(redTextOfWorkScreen().find(messageText(kMsgLineTooFar)), std::string::npos);

    // The same work resumed on the field, driving north three widths and 5 dm right of the
    // curve's straight middle (its sine turns at y = 600 * pi / 2 * 10 dm).
    loadJournalWork(c, true);
    appState.ui.screenState = kStateGuidance;
    const double y0 = 600.0 * std::numbers::pi / 2 * 10.0;
    const double x = 40.0 + 3 * 120.0 + 5.0;
    for (int i = -5; i <= 5; ++i) onFix(plane.fixAt({x, y0 + 15.0 * i}));
    EXPECT_FALSE(appState.guide.lineTooFar);
    EXPECT_EQ(appState.guide.guideNumber, 3);
    EXPECT_NEAR(appState.guide.crossTrack, 5.0, 0.5);
    EXPECT_EQ(redTextOfWorkScreen().find(messageText(kMsgLineTooFar)), std::string::npos);
    resetWork();
}

}  // namespace
