// A work recorded through the journal's hooks comes back exactly: into the program's state for
// a resume, or as a shapefile that another program reads. A journal that cannot be read is set
// aside, never removed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "WorkFile.h"
#include "app/AppState.h"
#include "app/SectionConfig.h"
#include "app/SectionControl.h"
#include "app/SettingsFile.h"
#include "app/Texts.h"
#include "app/WindowProc.h"
#include "app/WorkSession.h"
#include "guidance/CurveLines.h"
#include "guidance/GuidanceLines.h"
#include "guidance/Projection.h"
#include "guidance/WorkedStrip.h"
#include "journal/JournalReader.h"
#include "journal/WorkJournal.h"

namespace {

namespace fs = std::filesystem;

class JournalResume : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("sulco-resume-" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "home");
        std::snprintf(appState.layout.moduleDir, sizeof appState.layout.moduleDir, "%s/",
                      dir_.c_str());
        setenv("HOME", (dir_ / "home").c_str(), 1);
        installTexts();
        configureGeodesyData(appState.projection, appState.layout.moduleDir);
        journalSetEnabled(true, settingsFolder);
    }
    void TearDown() override {
        journalStop();
        journalSetEnabled(false);
        releaseProjection(appState.projection);
        appState.layout.moduleDir[0] = '\0';
        fs::remove_all(dir_);
    }

    // An AB work of 300 records along a bend, paused once, with A and B set.
    void recordWork() {
        resetWork();
        setOrigin(appState.projection, appState.work.plane, 8.55, 47.37);
        journalBeginWork(JournalWorkKind::AbLine, appState.work, appState.settings.implementWidth,
                         appState.settings.implementHalfWidth,
                         {appState.settings.zoom, appState.view.northUp});
        double x = 0, y = 0;
        for (int i = 1; i <= 300; ++i) {
            // Steps with fractions of a decimetre: the journal keeps the plane's full precision.
            double dx = 20 * std::sin(i / 40.0), dy = 20.3;
            x += dx;
            y += dy;
            if (appendStrip(appState.work, {x, y}, 60 * dy / 20, 60 * dx / 20, dx * dx + dy * dy))
                journalStripAdded(appState.work);
            if (i == 50) {
                appState.work.pauseMarks.push_back(appState.work.strips.size());
                journalPause(appState.work.strips.size());
            }
            if (i == 60) journalUnpause();
            if (i == 100) {
                appState.work.pointA = {x, y};
                appState.work.pointASet = 1;
                journalPointA(appState.work.pointA);
            }
            if (i == 200) {
                appState.work.pointB = {x, y};
                setAbLine(appState.work.guidance, appState.work.pointA, appState.work.pointB,
                          120.0);
                journalPointB(appState.work.pointB, 120.0);
            }
        }
        appState.settings.zoom = 4.5f;
        appState.view.northUp = 1;
        journalView({appState.settings.zoom, appState.view.northUp});
        ASSERT_TRUE(journalFlush());
    }

    fs::path dir_;
};

TEST_F(JournalResume, TheWorkComesBackAsItWasWithANewSegmentAfterIt) {
    recordWork();
    std::vector<TrackEdge> edges;
    for (std::size_t i = 0; i < appState.work.strips.size(); ++i)
        edges.push_back(appState.work.strips[i]);
    const double area = appState.work.workedArea;
    const double distance = appState.work.distance;
    const auto marks = appState.work.pauseMarks;
    const Vec2 a = appState.work.pointA, b = appState.work.pointB;
    const double originX = appState.work.plane.originX, originY = appState.work.plane.originY;
    journalStop();

    std::ifstream in(journalPath(), std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    journal::JournalContents c = journal::readJournal(bytes.data(), bytes.size());
    ASSERT_FALSE(c.damaged);
    EXPECT_TRUE(c.guided());

    appState.settings.zoom = 3.0f;
    appState.view.northUp = 0;
    EXPECT_TRUE(loadJournalWork(c, true));
    ASSERT_EQ(appState.work.strips.size(), edges.size());
    for (std::size_t i = 0; i < edges.size(); ++i) {
        const TrackEdge& e = appState.work.strips[i];
        ASSERT_TRUE(e.leftX == edges[i].leftX && e.leftY == edges[i].leftY &&
                    e.rightX == edges[i].rightX && e.rightY == edges[i].rightY)
            << i;
    }
    EXPECT_EQ(appState.work.workedArea, area);  // bit for bit
    EXPECT_EQ(appState.work.distance, distance);
    auto expectedMarks = marks;
    expectedMarks.push_back(std::uint32_t(edges.size()));
    EXPECT_EQ(appState.work.pauseMarks, expectedMarks);
    EXPECT_EQ(appState.work.pointA.x, a.x);
    EXPECT_EQ(appState.work.pointB.y, b.y);
    EXPECT_EQ(appState.work.guidance.spacing, 120.0);
    EXPECT_EQ(appState.work.plane.originX, originX);
    EXPECT_EQ(appState.work.plane.originY, originY);
    EXPECT_EQ(appState.settings.zoom, 4.5f);
    EXPECT_EQ(appState.view.northUp, 1);
    EXPECT_EQ(appState.work.position.x, 0);
    EXPECT_FALSE(appState.ui.paused);
}

TEST_F(JournalResume, TheSectionBarComesBackAsTheDriverLeftIt) {
    sectionConfig.count = 4;
    recordWork();
    {
        std::lock_guard lock(appState.frameLock);
        setSectionMaster(SectionMaster::Manual);
        touchSection(1);  // on under Manual: forced off
        touchSection(2);
        touchSection(2);  // given back
    }
    ASSERT_TRUE(journalFlush());
    journalStop();
    std::ifstream in(journalPath(), std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    journal::JournalContents c = journal::readJournal(bytes.data(), bytes.size());
    ASSERT_FALSE(c.damaged);
    resetWork();
    EXPECT_EQ(sectionControl.master, SectionMaster::Auto);
    loadJournalWork(c, true);
    EXPECT_TRUE(sectionControl.active);
    EXPECT_EQ(sectionControl.master, SectionMaster::Manual);
    EXPECT_EQ(sectionControl.forced,
              (std::vector<SectionForce>{SectionForce::None, SectionForce::Off, SectionForce::None,
                                         SectionForce::None}));
    // Sections cut anew since: the forces belong to sections that are no more.
    sectionConfig.count = 3;
    loadJournalWork(c, true);
    EXPECT_EQ(sectionControl.master, SectionMaster::Auto);
    EXPECT_EQ(sectionControl.forced, std::vector<SectionForce>(3, SectionForce::None));
    sectionConfig.count = 1;
    resetWork();
    EXPECT_FALSE(sectionControl.active);
}

// A curve of more points than one record holds: resumed, it guides on the very same line.
TEST_F(JournalResume, ACurvedLineComesBackPointForPoint) {
    resetWork();
    setOrigin(appState.projection, appState.work.plane, 8.55, 47.37);
    journalBeginWork(JournalWorkKind::AbLine, appState.work, appState.settings.implementWidth,
                     appState.settings.implementHalfWidth,
                     {appState.settings.zoom, appState.view.northUp});
    std::vector<Vec2> path;
    for (int i = 0; i < 9000; ++i) {
        const double t = i / 900.0;  // a wide S, 1 dm apart and more
        path.push_back({300.0 * std::sin(t), 100.37 * i / 9.0});
    }
    appState.work.pointA = path.front();
    appState.work.pointASet = 1;
    journalPointA(path.front());
    ASSERT_TRUE(setCurvePath(appState.work.curve, path, 41.0));
    journalCurvePath(appState.work.curve.path);
    journalPointB(path.back(), 41.0);
    ASSERT_TRUE(journalFlush());
    const CurveFollow before = followNearestCurve(appState.work.curve, {217.3, 5000.9}, {0.0, 1.0});
    journalStop();

    std::ifstream in(journalPath(), std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    journal::JournalContents c = journal::readJournal(bytes.data(), bytes.size());
    ASSERT_FALSE(c.damaged);
    EXPECT_TRUE(c.guided());
    EXPECT_EQ(c.curvePath.size(), path.size());
    loadJournalWork(c, true);
    ASSERT_EQ(appState.work.curveActive, 1);
    ASSERT_EQ(appState.work.curve.path.size(), path.size());
    for (std::size_t i = 0; i < path.size(); ++i)
        ASSERT_TRUE(appState.work.curve.path[i].x == path[i].x &&
                    appState.work.curve.path[i].y == path[i].y)
            << i;
    const CurveFollow after = followNearestCurve(appState.work.curve, {217.3, 5000.9}, {0.0, 1.0});
    EXPECT_EQ(after.number, before.number);
    EXPECT_EQ(after.crossTrack, before.crossTrack);
}

TEST_F(JournalResume, NoWritesTheWorkToARecoveredShapefileAndOnlyThenRemovesTheJournal) {
    recordWork();
    journalStop();
    resetWork();
    ASSERT_TRUE(offerInterruptedWork());
    EXPECT_EQ(appState.ui.screenState, kStateConfirm);
    EXPECT_EQ(appState.ui.confirmKind, kConfirmResume);
    EXPECT_STREQ(appState.ui.promptText, messageText(kMsgResumeQuestion));

    std::string path = recoverInterruptedWork();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(fs::path(path).parent_path(), dir_ / "home");
    EXPECT_EQ(fs::path(path).filename().string().rfind("recovered-", 0), 0u);
    WorkFileContents saved;
    ASSERT_TRUE(readWorkFile(path, saved));
    // Two segments, split at the pause: every record is a vertex on each side.
    EXPECT_EQ(saved.features, 2);
    EXPECT_GE(saved.vertices, 2 * 300);
    EXPECT_NEAR(saved.xref, 8.55, 1e-6);
    EXPECT_FALSE(fs::exists(journalPath()));
    EXPECT_EQ(appState.work.strips.size(), 0);
}

TEST_F(JournalResume, AJournalThatCannotBeReadIsSetAsideWithoutAQuestion) {
    {
        std::ofstream out(journalPath(), std::ios::binary);
        out << "not a journal at all";
    }
    {
        std::ofstream out(journalPath() + ".damaged", std::ios::binary);
        out << "an older one";
    }
    appState.ui.screenState = kStateStart;
    EXPECT_FALSE(offerInterruptedWork());
    EXPECT_EQ(appState.ui.screenState, kStateStart);
    EXPECT_FALSE(fs::exists(journalPath()));
    std::ifstream kept(journalPath() + ".damaged.1");
    std::string text{std::istreambuf_iterator<char>(kept), {}};
    EXPECT_EQ(text, "not a journal at all");
}

}  // namespace
