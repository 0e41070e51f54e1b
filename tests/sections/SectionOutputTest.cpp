// The section output read back as a section board would: a UDP listener on 127.0.0.1 and a
// serial device on a pseudo-terminal, every frame taken apart by the tests' own decoder
// (tests/sections/MachineFrameReader.h).
#include <gtest/gtest.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "sections/SectionOutput.h"
#include "tests/sections/MachineFrameReader.h"

namespace {

using namespace machine_frames;

SectionState state(int count, std::uint64_t on, double kmh) {
    SectionState s;
    s.sectionCount = count;
    s.sectionsOn = on;
    s.speedKmh = kmh;
    return s;
}

TEST(SectionOutput, UdpBoardReadsEachStatePublished) {
    // The guidance output's parser: what it refuses starts nothing, and publishing goes nowhere.
    EXPECT_FALSE(startSectionOutput("tcp://127.0.0.1:8888"));
    publishSections(state(4, 0xF, 5.0));
    int port = 0;
    const int listener = listenUdp(port);
    ASSERT_GE(listener, 0);
    ASSERT_TRUE(startSectionOutput("udp://127.0.0.1:" + std::to_string(port)));
    Board board(listener, true);
    // Nothing before the first state: a board must not be told its sections are off or on.
    EXPECT_TRUE(board.collect(std::chrono::milliseconds(300)).empty());

    // 12 sections: PGN 239 alone, with the speed in tenths.
    publishSections(state(12, 0b1010'0000'0101, 9.5));
    std::vector<Seen> seen = board.collect(std::chrono::milliseconds(500));
    ASSERT_FALSE(seen.empty());
    for (const Seen& s : seen) {
        EXPECT_EQ(s.pgn, 239);
        EXPECT_EQ(s.sections, 0b1010'0000'0101u);
        EXPECT_EQ(s.speedTenths, 95);
    }
    // 48 sections: PGN 229 too, with sections above 16; PGN 239 keeps the first 16.
    const std::uint64_t wide = (std::uint64_t(1) << 47) | (std::uint64_t(1) << 20) | 0x8001;
    publishSections(state(48, wide, 6.0));
    EXPECT_TRUE(board.waitFor(wide, true, {0b1010'0000'0101u}));
    // Sections switched one after another: the board follows each, never sees another value.
    std::vector<std::uint64_t> earlier = {wide};
    for (const std::uint64_t on :
         {std::uint64_t(0x3), std::uint64_t(0xFFFF'FFFF'0000), std::uint64_t(0xFFFF'FFFF'FFFF)}) {
        publishSections(state(48, on, 6.0));
        EXPECT_TRUE(board.waitFor(on, true, earlier)) << on;
        earlier.push_back(on);
    }
    stopSectionOutput();
    ::close(listener);
}

// Ten a second without a change: counted over 1.5 s, with room for a loaded machine (15 due,
// 8 asked), and never fewer frames than states when states come faster than that.
TEST(SectionOutput, StateIsRepeatedWithoutAChangeAndSwitchedOffAtStop) {
    int port = 0;
    const int listener = listenUdp(port);
    ASSERT_GE(listener, 0);
    ASSERT_TRUE(startSectionOutput("udp://127.0.0.1:" + std::to_string(port)));
    Board board(listener, true);
    publishSections(state(20, 0x1'0001, 10.0));
    const std::vector<Seen> seen = board.collect(std::chrono::milliseconds(1500));
    int machineData = 0, sections = 0;
    for (const Seen& s : seen) {
        EXPECT_EQ(s.sections, s.pgn == 239 ? 0x1u : 0x1'0001u);
        (s.pgn == 239 ? machineData : sections)++;
    }
    EXPECT_GE(machineData, 8);
    EXPECT_GE(sections, 8);
    // At stop the board hears every section off before its watchdog would have to.
    stopSectionOutput();
    const std::vector<Seen> last = board.collect(std::chrono::milliseconds(500));
    ASSERT_FALSE(last.empty());
    EXPECT_EQ(last.back().sections, 0u);
    ::close(listener);
}

TEST(SectionOutput, SerialBoardGetsTheFramesAtTheBoardsRate) {
    int master = -1, slave = -1;
    char name[256] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    // The line starts at another speed, so that the boards' 38400 is the output's doing.
    termios before{};
    ASSERT_EQ(::tcgetattr(slave, &before), 0);
    ::cfsetospeed(&before, B9600);
    ::cfsetispeed(&before, B9600);
    ASSERT_EQ(::tcsetattr(slave, TCSANOW, &before), 0);
    ASSERT_TRUE(startSectionOutput(name));
    Board board(master, false);
    // 24 sections: both frames back to back on the line, each whole.
    const std::uint64_t on = (std::uint64_t(1) << 23) | 0x0F0F;
    publishSections(state(24, on, 4.2));
    EXPECT_TRUE(board.waitFor(on, true, {}));
    termios line{};
    ASSERT_EQ(::tcgetattr(slave, &line), 0);
    EXPECT_EQ(::cfgetospeed(&line), B38400);
    stopSectionOutput();
    ::close(slave);
    ::close(master);
}

}  // namespace
