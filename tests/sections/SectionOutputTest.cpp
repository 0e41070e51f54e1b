// The section output read back as a section board would: a UDP listener on 127.0.0.1 and a
// serial device on a pseudo-terminal, every frame taken apart by the test's own decoder of the
// published layout (0x80 0x81, source, PGN, length, data, checksum of source to last data byte).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "sections/SectionOutput.h"

namespace {

struct Frame {
    int source = 0;
    int pgn = 0;
    std::vector<std::uint8_t> data;
};

// What a board takes from a frame: the sections on and the speed in tenths of km/h.
struct Seen {
    int pgn = 0;
    std::uint64_t sections = 0;
    int speedTenths = 0;
};

// Takes whole frames off the front of bytes; a frame with a bad checksum fails the test.
std::vector<Frame> decode(std::vector<std::uint8_t>& bytes) {
    std::vector<Frame> frames;
    std::size_t at = 0;
    while (at + 6 <= bytes.size()) {
        if (bytes[at] != 0x80 || bytes[at + 1] != 0x81) {
            ADD_FAILURE() << "a byte outside a frame at " << at;
            ++at;
            continue;
        }
        const std::size_t length = bytes[at + 4];
        if (at + 6 + length > bytes.size()) break;
        unsigned sum = 0;
        for (std::size_t i = at + 2; i < at + 5 + length; ++i) sum += bytes[i];
        EXPECT_EQ(bytes[at + 5 + length], sum % 256) << "checksum of PGN " << int(bytes[at + 3]);
        Frame f;
        f.source = bytes[at + 2];
        f.pgn = bytes[at + 3];
        f.data.assign(bytes.begin() + long(at + 5), bytes.begin() + long(at + 5 + length));
        frames.push_back(f);
        at += 6 + length;
    }
    bytes.erase(bytes.begin(), bytes.begin() + long(at));
    return frames;
}

Seen read(const Frame& f) {
    Seen s;
    s.pgn = f.pgn;
    EXPECT_EQ(f.source, 0x7F);
    if (f.pgn == 239) {
        EXPECT_EQ(f.data.size(), 8u);
        if (f.data.size() != 8) return s;
        s.sections = f.data[6] | (std::uint64_t(f.data[7]) << 8);
        s.speedTenths = f.data[1];
    } else if (f.pgn == 229) {
        EXPECT_EQ(f.data.size(), 10u);
        if (f.data.size() != 10) return s;
        for (int i = 0; i < 8; ++i) s.sections |= std::uint64_t(f.data[std::size_t(i)]) << (8 * i);
        EXPECT_EQ(f.data[8], f.data[9]) << "both edges at the ground speed";
        s.speedTenths = f.data[8];
    } else {
        ADD_FAILURE() << "PGN " << f.pgn;
    }
    return s;
}

// A board's end of the line: a UDP socket (one frame a datagram) or a pseudo-terminal master.
class Board {
  public:
    Board(int fd, bool udp) : fd_(fd), udp_(udp) {}
    // Frames that arrive within the time given.
    std::vector<Seen> collect(std::chrono::milliseconds within) {
        std::vector<Seen> seen;
        const auto end = std::chrono::steady_clock::now() + within;
        while (true) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            if (left.count() <= 0) break;
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, int(left.count())) <= 0) continue;
            std::uint8_t buffer[512];
            const ssize_t n =
                udp_ ? ::recv(fd_, buffer, sizeof buffer, 0) : ::read(fd_, buffer, sizeof buffer);
            if (n <= 0) continue;
            if (udp_) {
                std::vector<std::uint8_t> one(buffer, buffer + n);
                const std::vector<Frame> frames = decode(one);
                EXPECT_EQ(frames.size(), 1u) << "one frame a datagram";
                EXPECT_TRUE(one.empty()) << "a datagram with a torn frame";
                for (const Frame& f : frames) seen.push_back(read(f));
            } else {
                pending_.insert(pending_.end(), buffer, buffer + n);
                for (const Frame& f : decode(pending_)) seen.push_back(read(f));
            }
        }
        return seen;
    }
    // Reads until the state with these sections has arrived, in PGN 239 (its sections 1-16)
    // and, with more than 16 sections, in PGN 229, or a few seconds pass; every frame before
    // must be of an earlier state, given in earlier.
    bool waitFor(std::uint64_t on, bool wide, const std::vector<std::uint64_t>& earlier) {
        const auto shows = [](const Seen& s, std::uint64_t mask) {
            return s.sections == (s.pgn == 239 ? mask & 0xFFFF : mask);
        };
        bool machineData = false, sections = !wide;
        for (int i = 0; i < 30 && !(machineData && sections); ++i) {
            for (const Seen& s : collect(std::chrono::milliseconds(100))) {
                if (shows(s, on)) {
                    (s.pgn == 239 ? machineData : sections) = true;
                    continue;
                }
                bool before = false;
                for (std::uint64_t e : earlier) before = before || shows(s, e);
                EXPECT_TRUE(before) << "PGN " << s.pgn << " sections " << s.sections;
            }
        }
        return machineData && sections;
    }

  private:
    int fd_;
    bool udp_;
    std::vector<std::uint8_t> pending_;
};

int listenUdp(int& port) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in here{};
    here.sin_family = AF_INET;
    here.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&here), sizeof here) != 0) return -1;
    socklen_t length = sizeof here;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&here), &length);
    port = ntohs(here.sin_port);
    return fd;
}

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
