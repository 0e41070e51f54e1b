// A whole AB work as a driver does it: start, wait for the fix, set A, drive, set B, follow the
// guide lines over several passes, pause and resume, finish and save, review the saved work to
// its end, convert it to KML from the Extras page and exit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <tuple>
#include <vector>

#include "DialogAnswers.h"
#include "FrameChecks.h"
#include "IsolatedRun.h"
#include "ProgramHarness.h"
#include "Receiver.h"
#include "WorkFile.h"
#include "app/GpsControl.h"
#include "app/SettingsFile.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Fast passes of 200 m, one implement width (12 m, the initial setting) apart: a pass takes
// five seconds, a turn half a second.
const std::vector<std::string> kField = {"--rate",   "10",  "--speed",   "144",
                                         "--length", "200", "--spacing", "12"};

PlanePoint position() {
    return underFrameLock([] { return appState.work.position; });
}

// Follows the accepted positions: a step is straight when it runs along a pass (the grid of the
// plane turns the meridian by under two degrees here), a turn otherwise.
class Track {
  public:
    // Waits for the next new position; false when none came in time.
    bool step(std::chrono::milliseconds limit = 5s) {
        PlanePoint last = last_;
        if (!waitUntil(
                [&] {
                    PlanePoint p = position();
                    return p.x != last.x || p.y != last.y;
                },
                limit))
            return false;
        PlanePoint p = position();
        dx_ = p.x - last_.x;
        dy_ = p.y - last_.y;
        last_ = p;
        return true;
    }
    bool straight() const { return std::abs(dx_) * 10 < std::abs(dy_); }
    PlanePoint at() const { return last_; }

    // Waits until a turn has ended and two straight steps follow: the start of a pass.
    bool toStartOfPass() {
        bool turned = false;
        int straightSteps = 0;
        for (int i = 0; i < 400; ++i) {
            if (!step()) return false;
            if (!straight()) {
                turned = true;
                straightSteps = 0;
            } else if (turned && ++straightSteps >= 2) {
                return true;
            }
        }
        return false;
    }

  private:
    PlanePoint last_ = position();
    int dx_ = 0, dy_ = 0;
};

// The panel of the guidance screen: two text lines below the steering bar and the cross-track
// text.
QRect guidancePanelRows() {
    const int y = std::uint8_t(appState.layout.barHeight + appState.layout.textMargin + 32);
    return QRect(0, y, appState.layout.screenWidth, 32);
}

// Heading up, the vehicle stands at the centre with the worked strip behind it and its guide
// line running through it; ahead of it nothing is worked yet.
bool guidanceFrameLooksRight(const QImage& frame) {
    const int cx = appState.layout.halfScreenWidth, cy = appState.layout.halfScreenHeight;
    const QRect behind(cx - 30, cy + 20, 60, 100);
    const QRect ahead(cx - 30, cy - 200, 60, 60);
    return countPixels(frame, behind, trackPixel()) > 1000 &&
           countPixels(frame, ahead, trackPixel()) == 0 &&
           countPixels(frame, QRect(0, cy - 200, appState.layout.screenWidth, 300),
                       kGuideLinePixel) > 300 &&
           countPixels(frame, guidancePanelRows(), textPixel()) > 100;
}

std::uintmax_t sizeOf(const std::string& path) {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    return error ? 0 : size;
}

}  // namespace

TEST(EndToEnd, AbWorkFromStartToSavedReviewedConvertedAndExit) {
    if (!isolatedRun()) return;
    const std::string dir = privateFolder();
    const int threadsBefore = unnamedThreadCount();
    SimulatedReceiver receiver(dir + "/gps");
    ASSERT_TRUE(receiver.plugIn(kField));
    RunningProgram program;
    ASSERT_TRUE(program.open(receiver.link()));
    EXPECT_GT(countOtherPixels(program.frame(), wholeFrame(program.frame()), 0xFFFF), 10000)
        << "the start screen shows its picture and buttons";

    // A-B LINE: the wait for a fix, then the screen that asks for A.
    program.tap(appState.layout.btnStartAB);
    EXPECT_EQ(program.state(), kStateGpsWait);
    ASSERT_TRUE(program.reaches(kStateSettingAB, 40s)) << "the fix never ended the wait";

    Track track;
    ASSERT_TRUE(track.toStartOfPass());
    program.tapMap();
    ASSERT_EQ(appState.work.pointASet, 1);
    const PlanePoint a = track.at();
    // Well along the same pass, B.
    while (std::abs(track.at().y - a.y) < 800) {
        ASSERT_TRUE(track.step());
        ASSERT_TRUE(track.straight()) << "the pass ended before B";
    }
    program.tapMap();
    ASSERT_EQ(program.state(), kStateGuidance);
    EXPECT_EQ(appState.ui.abReady, 1);

    // Several passes: on every straight the vehicle is on a guide line, a new one each pass.
    program.tap(appState.layout.btnZoomIn);  // kept in Settings.dat
    const float zoom = appState.settings.zoom;
    std::set<int> lines;
    int straightSteps = 0, offLine = 0;
    while (lines.size() < 4) {
        ASSERT_TRUE(track.step());
        if (!track.straight()) {
            straightSteps = 0;
            continue;
        }
        // A few steps into the pass the smoothed heading has settled.
        if (++straightSteps < 8) continue;
        const auto [number, error, arrows] = underFrameLock([] {
            return std::tuple(appState.guide.guideNumber, appState.guide.crossTrack,
                              appState.guide.arrowCount);
        });
        lines.insert(number);
        if (std::fabs(error) > 10.0 || arrows != 0) ++offLine;
        ASSERT_LT(lines.size() + straightSteps, 2000u);
    }
    EXPECT_EQ(offLine, 0) << "cross-track error above 1 m on a pass driven on its line";
    EXPECT_TRUE(program.frameWhere(guidanceFrameLooksRight, 30s))
        << "no guidance frame with strip behind, guide line and panel in place";

    // Pause: no fixes are recorded; resume: they are again.
    program.tapMap();
    ASSERT_EQ(appState.ui.paused, 1);
    ASSERT_EQ(appState.work.pauseMarks.size(), 1u);
    const int pausedAt = appState.work.strips.size();
    runEventsFor(1500ms);
    EXPECT_EQ(int(appState.work.strips.size()), pausedAt);
    program.tapMap();
    EXPECT_EQ(appState.ui.paused, 0);
    ASSERT_TRUE(
        waitUntil([&] { return appState.work.strips.size() > std::uint32_t(pausedAt + 20); }));
    EXPECT_EQ(appState.work.pauseMarks.size(), 1u);

    // Finish, yes; save, yes, into a name typed without extension.
    const int fixes = underFrameLock([] { return int(appState.work.strips.size()); });
    program.tap(appState.layout.btnFinish);
    ASSERT_EQ(program.state(), kStateConfirm);
    program.tap(appState.layout.btnYes);
    ASSERT_EQ(program.state(), kStateConfirm);
    const std::string work = dir + "/meadow";
    DialogAnswers answers;
    answers.chooseFile(work);
    program.tap(appState.layout.btnYes);
    EXPECT_TRUE(answers.done());
    EXPECT_TRUE(answers.messages().empty());
    ASSERT_TRUE(program.reaches(kStateStart, 5s));
    const std::int32_t workDistance = appState.work.distance;

    WorkFileContents saved;
    ASSERT_TRUE(readWorkFile(work + ".shp", saved));
    EXPECT_EQ(saved.features, 2) << "one shape per segment: one pause, two segments";
    EXPECT_EQ(saved.polygons, 2);
    // Two vertices per recorded fix (GDAL may close each ring with one more).
    EXPECT_GE(saved.vertices, 2 * fixes);
    EXPECT_LE(saved.vertices, 2 * int(appState.work.strips.size()) + 2);
    EXPECT_TRUE(saved.allInField);
    EXPECT_EQ(saved.name, work);
    EXPECT_NEAR(saved.xref, 11.5167, 0.01);
    EXPECT_NEAR(saved.yref, 48.1173, 0.01);
    EXPECT_TRUE(saved.sameAttributes);

    // Review: the saved work replays to its end and stays on the screen until a tap.
    answers.chooseFile(work + ".shp");
    program.tap(appState.layout.btnReview);
    ASSERT_EQ(program.state(), kStateReview);
    EXPECT_FALSE(isGpsRunning());
    ASSERT_TRUE(waitUntil([] { return appState.ui.reviewRunning == 0; }, 150s));
    EXPECT_EQ(program.state(), kStateReview);
    EXPECT_NEAR(appState.work.distance, workDistance, workDistance * 0.15)
        << "the replayed strip is as long as the driven one";
    const QRect message(0, appState.layout.halfScreenHeight / 4, appState.layout.screenWidth, 48);
    EXPECT_TRUE(program.frameWhere(
        [&](const QImage& f) { return countPixels(f, message, textPixel()) > 100; }, 10s))
        << "the finished review says so";
    program.tapMap();
    EXPECT_EQ(program.state(), kStateStart);

    // Extras, "Export to KML": the saved work becomes meadow.kml beside it.
    answers.showPage(QStringLiteral("Extras"))
        .click(1028)
        .chooseFile(work + ".shp")
        .then([&] { return sizeOf(work + ".kml") > 0; })
        .click(1);
    program.tap(appState.layout.btnStartMenu);
    ASSERT_TRUE(waitUntil([&] { return answers.done() && !DialogAnswers::sheet(); }, 20s));
    WorkFileContents kml;
    ASSERT_TRUE(readWorkFile(work + ".kml", kml));
    EXPECT_EQ(kml.features, 2);
    EXPECT_EQ(kml.polygons, 2);
    EXPECT_TRUE(kml.allInField);

    // Exit: the quit message ends the loop, the shut-down ends every thread and keeps the zoom.
    EXPECT_EQ(program.state(), kStateStart);
    EXPECT_TRUE(program.exitByButtons());
    program.close();
    receiver.unplug();
    EXPECT_TRUE(threadsBackTo(threadsBefore));
    EXPECT_EQ(sizeOf(dir + "/Settings.dat"), kSettingsFileSize);
    appState.settings.zoom = 0;
    loadSettings();
    EXPECT_EQ(appState.settings.zoom, zoom);
}
