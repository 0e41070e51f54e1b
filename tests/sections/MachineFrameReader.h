// A section board's end of the machine messages, for the tests: a UDP listener on 127.0.0.1 or a
// pseudo-terminal master, and the tests' own decoder of the published layout (0x80 0x81,
// source, PGN, length, data, checksum of source to last data byte). A frame that is not well
// formed fails the test that reads it.
#pragma once

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <vector>

namespace machine_frames {

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
inline std::vector<Frame> decode(std::vector<std::uint8_t>& bytes) {
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

inline Seen read(const Frame& f) {
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

// A UDP socket on 127.0.0.1 at a free port, given in port; -1 when none could be bound.
inline int listenUdp(int& port) {
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

}  // namespace machine_frames
