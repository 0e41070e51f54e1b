// Receivers that misbehave: garbage on the line, only GPRMC, only invalid fixes, a receiver that
// falls silent. The program waits (or keeps the work it has), stays responsive, and takes the
// first good fix that comes after.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>

#include "DialogAnswers.h"
#include "IsolatedRun.h"
#include "ProgramHarness.h"
#include "Receiver.h"
#include "WorkFile.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Sends what the generator gives for tick 0, 1, 2, ... every tenth of a second.
void feed(HandmadeReceiver& receiver, std::chrono::milliseconds time,
          const std::function<std::string(int)>& generator, int& tick) {
    const auto end = Clock::now() + time;
    while (Clock::now() < end) {
        receiver.send(generator(tick++));
        runEventsFor(100ms);
    }
}

// A tractor at 10 m/s going north with a good fix.
std::string goodFix(int tick) {
    return ggaAt(tick * 1.0, 1) + rmcAt(tick * 1.0, 19.4);
}

std::string garbage(int tick) {
    static std::mt19937 random(7);
    std::string bytes;
    switch (tick % 4) {
        case 0:  // noise of every byte value
            for (int i = 0; i < 300; ++i) bytes += char(random() & 0xFF);
            break;
        case 1:  // a sentence start without an end, then one that never stops
            bytes = "$GPGGA,1200";
            bytes += std::string(2000, 'x');
            break;
        case 2: {  // a good sentence with a wrong checksum, and one cut in half
            std::string good = ggaAt(tick, 1);
            good[good.size() - 3] = good[good.size() - 3] == '0' ? '1' : '0';
            bytes = good + ggaAt(tick, 1).substr(0, 30) + "\r\n";
            break;
        }
        default:  // the fields in disorder and out of range, without a fix
            bytes = nmeatest::sentence("GPGGA,99,9999.99,Q,-1e308,W,0,99,nan,,M,,M,,") +
                    nmeatest::sentence("GPGGA,,,,,,0,,,,,,,,") + std::string("\0\0\r\n\n\r", 6);
            break;
    }
    return bytes;
}

struct BadLine {
    const char* name;
    std::string (*sentences)(int tick);
};

const BadLine kBadLines[] = {
    {"garbage", garbage},
    {"only_rmc", [](int tick) { return rmcAt(tick, 19.4); }},
    {"no_fix", [](int) { return nmeatest::sentence("GPGGA,120000.00,,,,,0,00,99.9,,M,,M,,"); }},
    {"quality_9", [](int tick) { return ggaAt(tick, 9); }},
};

class ReceiverFault : public ::testing::TestWithParam<BadLine> {};

}  // namespace

TEST_P(ReceiverFault, TheWaitForAFixGoesOnUntilAGoodOneComes) {
    if (!isolatedRun()) return;
    HandmadeReceiver receiver(privateFolder() + "/gps");
    ASSERT_TRUE(receiver.plugIn());
    RunningProgram program;
    ASSERT_TRUE(program.open(receiver.link()));
    program.tap(appState.layout.btnStartFree);
    ASSERT_EQ(program.state(), kStateGpsWait);

    int tick = 0;
    feed(receiver, 4s, GetParam().sentences, tick);
    EXPECT_EQ(program.state(), kStateGpsWait) << "a bad line ended the wait";
    // A quality above 8 may stand until the next poll reads it as invalid.
    const int quality = appState.fix.fixQuality;
    EXPECT_TRUE(quality == 0 || quality > 8) << quality;
    EXPECT_EQ(appState.work.strips.size(), 0);

    // The first good fixes after the bad line end the wait, and the work records them.
    const auto end = Clock::now() + 40s;
    while (Clock::now() < end && appState.work.strips.size() < 10)
        feed(receiver, 200ms, goodFix, tick);
    EXPECT_EQ(program.state(), kStateFreeWork);
    EXPECT_GE(appState.work.strips.size(), 10);
    // Every recorded position is on the field, a few hundred metres from the first.
    const PlanePoint here = underFrameLock([] { return appState.work.position; });
    EXPECT_LT(std::abs(here.x) + std::abs(here.y), 10000) << here.x << " " << here.y;
    program.tap(appState.layout.btnFinish);
    program.tap(appState.layout.btnYes);
    program.tap(appState.layout.btnNo);
    EXPECT_TRUE(program.exitByButtons());
}

// A sentence that claims a fix but carries no position, or one off the globe, must neither end
// the wait nor become the work's origin: every later fix would lie hundreds of kilometres away.
TEST(ReceiverFault, AFixWithoutAPositionIsNotTheWorksOrigin) {
    if (!isolatedRun()) return;
    HandmadeReceiver receiver(privateFolder() + "/gps");
    ASSERT_TRUE(receiver.plugIn());
    RunningProgram program;
    ASSERT_TRUE(program.open(receiver.link()));
    program.tap(appState.layout.btnStartFree);
    int tick = 0;
    feed(
        receiver, 3s,
        [](int n) {
            return nmeatest::sentence(n % 2
                                          ? "GPGGA,,,,,,1,,,,,,,,"
                                          : "GPGGA,120000,9999.99,N,99999.99,E,1,08,0.9,0,M,0,M,,");
        },
        tick);
    EXPECT_EQ(program.state(), kStateGpsWait);
    const auto end = Clock::now() + 40s;
    while (Clock::now() < end && appState.work.strips.size() < 10)
        feed(receiver, 200ms, goodFix, tick);
    const PlanePoint here = underFrameLock([] { return appState.work.position; });
    EXPECT_LT(std::abs(here.x) + std::abs(here.y), 10000) << here.x << " " << here.y;
}

INSTANTIATE_TEST_SUITE_P(Receivers, ReceiverFault, ::testing::ValuesIn(kBadLines),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReceiverFault, ASilentReceiverLeavesTheWorkAsItWas) {
    if (!isolatedRun()) return;
    const std::string dir = privateFolder();
    HandmadeReceiver receiver(dir + "/gps");
    ASSERT_TRUE(receiver.plugIn());
    RunningProgram program;
    ASSERT_TRUE(program.open(receiver.link()));
    program.tap(appState.layout.btnStartFree);
    int tick = 0;
    const auto end = Clock::now() + 40s;
    while (Clock::now() < end && appState.work.strips.size() < 30)
        feed(receiver, 200ms, goodFix, tick);
    ASSERT_EQ(program.state(), kStateFreeWork);

    // Silence: the device stays, nothing comes.
    runEventsFor(500ms);
    const int fixes = appState.work.strips.size();
    runEventsFor(2500ms);
    EXPECT_EQ(int(appState.work.strips.size()), fixes);
    EXPECT_EQ(program.state(), kStateFreeWork);

    // The work is whole: it saves with every fix it had.
    program.tap(appState.layout.btnFinish);
    program.tap(appState.layout.btnYes);
    DialogAnswers answers;
    answers.chooseFile(dir + "/silent.shp");
    program.tap(appState.layout.btnYes);
    EXPECT_EQ(program.state(), kStateStart);
    WorkFileContents saved;
    ASSERT_TRUE(readWorkFile(dir + "/silent.shp", saved));
    EXPECT_EQ(saved.features, 1);
    EXPECT_GE(saved.vertices, 2 * fixes);
    EXPECT_TRUE(saved.allInField);
    EXPECT_TRUE(program.exitByButtons());
}
