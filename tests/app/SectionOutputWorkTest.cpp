// The section output of a drive, read back as a section board reads it: passes 0.75 implement
// widths apart through the real fix callback with eight sections, the machine messages sent to
// a UDP listener on 127.0.0.1 and taken apart by the tests' own decoder, and the states the
// board heard held against the valve commands the fixes decided.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/AppState.h"
#include "app/FieldWork.h"
#include "app/FixPipeline.h"
#include "app/SectionControl.h"
#include "sections/SectionLayout.h"
#include "sections/SectionOutput.h"
#include "tests/app/PipelineTestSupport.h"
#include "tests/app/SectionDrive.h"
#include "tests/app/SectionFixture.h"
#include "tests/sections/MachineFrameReader.h"

namespace {

using namespace section_drive;
using namespace std::chrono_literals;

constexpr double kKmh = 12.0;
constexpr int kHz = 2;
constexpr double kPassLength = 400.0;  // dm, each pass from y = 0 to y = kPassLength
constexpr int kPassCount = 3;
// A state held for this many fixes, the fixes 20 ms apart, reaches the board.
constexpr int kHeldFixes = 5;

// Consecutive repeats of a state dropped.
std::vector<std::uint64_t> distinct(const std::vector<std::uint64_t>& states) {
    std::vector<std::uint64_t> out;
    for (std::uint64_t s : states)
        if (out.empty() || out.back() != s) out.push_back(s);
    return out;
}

class SectionOutputWork : public SectionWorkFixture {
  protected:
    void TearDown() override {
        stopSectionOutput();
        if (listener_ >= 0) ::close(listener_);
        SectionWorkFixture::TearDown();
    }
    int listener_ = -1;
};

TEST_F(SectionOutputWork, BoardHearsTheValveCommandsOfEveryFixInOrderAndAllOffAtStop) {
    int port = 0;
    listener_ = machine_frames::listenUdp(port);
    ASSERT_GE(listener_, 0);
    machine_frames::Board board(listener_, true);
    SectionRules valves;
    valves.turnOnSeconds = 1.0;
    valves.turnOffSeconds = 0.5;
    useSections(valves);
    ASSERT_TRUE(startSectionOutput("udp://127.0.0.1:" + std::to_string(port)));

    // The commands after every fix, and the section bits of every frame the board heard; the
    // board listens for 20 ms after each fix, which paces the fixes.
    std::vector<std::uint64_t> produced;
    std::vector<machine_frames::Seen> heard;
    const auto listen = [&](std::chrono::milliseconds within) {
        for (const machine_frames::Seen& s : board.collect(within)) heard.push_back(s);
    };
    // Three passes, up, down and up. The last ends 1 m before the second pass's first ground,
    // where its left sections are told to open a valve's time before their ground asks for it:
    // the last command is not what the ground asks there.
    drivePath(passPath(kKmh / 0.36 / kHz, kPassCount, kPassLength, 90.0), kKmh, kHz, [&] {
        // The first fix only seeds the position: nothing is decided, nothing sent. The first
        // step decides at its start too, on the same unworked ground as at its end.
        if (!sectionControl.decisions.empty()) {
            std::uint64_t bits = 0;
            for (std::size_t i = 0; i < sectionControl.decisions.size(); ++i)
                if (sectionControl.decisions[i].command) bits |= std::uint64_t(1) << i;
            produced.push_back(bits);
        }
        listen(20ms);
    });
    ASSERT_FALSE(produced.empty());
    const std::uint64_t finalState = produced.back();
    // The final state: the sender may still be repeating an older one for a moment.
    for (int i = 0; i < 30 && (heard.empty() || heard.back().sections != finalState); ++i)
        listen(100ms);

    // The drive really switches the two sections that overlap the first pass: the board has
    // something to get wrong.
    const std::uint64_t rightTwo = 0b1100'0000;
    bool rightOn = false, rightOff = false;
    for (std::uint64_t s : produced) {
        rightOn = rightOn || (s & rightTwo) == rightTwo;
        rightOff = rightOff || (s & rightTwo) == 0;
    }
    EXPECT_TRUE(rightOn);
    EXPECT_TRUE(rightOff);

    // Every frame is the machine data of eight sections (the decoder checked its bytes).
    std::vector<std::uint64_t> heardStates;
    for (const machine_frames::Seen& s : heard) {
        EXPECT_EQ(s.pgn, 239);
        heardStates.push_back(s.sections);
    }
    const std::vector<std::uint64_t> want = distinct(produced);
    const std::vector<std::uint64_t> got = distinct(heardStates);
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back(), finalState);
    // The board heard the produced states in their order, leaving out only some that a newer
    // one replaced before they were sent; one held for kHeldFixes fixes is never left out.
    std::vector<int> held;  // of each state in want, the fixes it was held for
    for (std::size_t i = 0; i < produced.size(); ++i) {
        if (i == 0 || produced[i] != produced[i - 1]) held.push_back(0);
        ++held.back();
    }
    std::size_t at = 0;
    for (std::uint64_t g : got) {
        std::size_t next = at;
        while (next < want.size() && want[next] != g) ++next;
        ASSERT_LT(next, want.size()) << "state " << g << " heard out of order or never produced";
        for (std::size_t skipped = at; skipped < next; ++skipped)
            EXPECT_LT(held[skipped], kHeldFixes)
                << "state " << want[skipped] << " held for " << held[skipped] << " fixes unheard";
        at = next + 1;
    }
    EXPECT_EQ(at, want.size());

    // At the stop the board hears every section off, last.
    stopSectionOutput();
    // The sender has stopped: whatever it sent is in the listener's socket.
    const std::vector<machine_frames::Seen> last = board.collect(300ms);
    ASSERT_FALSE(last.empty());
    EXPECT_EQ(last.back().pgn, 239);
    EXPECT_EQ(last.back().sections, 0u);
}

}  // namespace
