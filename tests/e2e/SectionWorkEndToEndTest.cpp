// Section control with the real program: sulcovane.conf cuts the 12 m implement into eight
// sections, gpssim drives passes 9 m apart, and the sections over the pass before go off. The
// work is saved as the driver saves it, and GDAL finds its shapes worked once along the passes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "DialogAnswers.h"
#include "IsolatedRun.h"
#include "ProgramHarness.h"
#include "Receiver.h"
#include "app/SectionControl.h"
#include "tests/support/SavedWorkAreas.h"

namespace {

using namespace std::chrono_literals;

// gpssim's field: passes of 60 m northward from its origin, 9 m apart, at 36 km/h, 10 Hz.
constexpr double kLat = 48.1173;
const std::vector<std::string> kDrive = {"--rate",   "10", "--speed",   "36",
                                         "--length", "60", "--spacing", "9"};

}  // namespace

TEST(EndToEnd, SectionsOverThePassBeforeGoOffAndTheSavedWorkIsWorkedOnce) {
    if (!isolatedRun()) return;
    const std::string dir = privateFolder();
    std::ofstream(dir + "/sulcovane.conf") << "[sections]\ncount=8\n";
    SimulatedReceiver receiver(dir + "/gps");
    ASSERT_TRUE(receiver.plugIn(kDrive));
    RunningProgram program;
    ASSERT_TRUE(program.open(receiver.link()));
    program.tap(appState.layout.btnStartFree);
    ASSERT_TRUE(program.reaches(kStateFreeWork, 40s));
    ASSERT_TRUE(underFrameLock([] { return sectionControl.active; }));
    ASSERT_EQ(underFrameLock([] { return sectionControl.layout.count(); }), 8);

    // Three passes and their turns; meanwhile some section is off over worked ground.
    bool sawWorkedGround = false;
    ASSERT_TRUE(waitUntil(
        [&] {
            return underFrameLock([&] {
                for (int i = 0; i < 8; ++i)
                    sawWorkedGround |= sectionShown(i) == SectionShown::WorkedGround;
                return appState.work.distance > 2200.0;
            });
        },
        60s));
    EXPECT_TRUE(sawWorkedGround);

    program.tap(appState.layout.btnFinish);
    ASSERT_EQ(program.state(), kStateConfirm);
    program.tap(appState.layout.btnYes);
    const std::string work = dir + "/sprayed";
    DialogAnswers answers;
    answers.chooseFile(work);
    program.tap(appState.layout.btnYes);
    EXPECT_TRUE(answers.done());
    ASSERT_TRUE(program.reaches(kStateStart, 5s));

    // The straight stretch of the passes, 5 m to 55 m north of the origin.
    double sum = 0, ground = 0;
    savedAreas(work + ".shp", 32632, kLat + 5 / 111200.0, kLat + 55 / 111200.0, sum, ground);
    // At least two passes of 12 m, 9 m apart.
    EXPECT_GT(ground, 21.0 * 49);
    // One strip would work 3 m of every pass twice.
    EXPECT_LT(sum - ground, 0.01 * ground);
    program.close();
}
