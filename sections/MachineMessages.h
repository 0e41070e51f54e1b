// The machine messages that AgOpenGPS-style section boards (the open "machine module" on a
// Nano, a Teensy or an ESP32) read: which sections are on, and the ground speed. Built from the
// section state; the sender writes them to the board's UDP port or its USB serial line.
//
// Every frame: 0x80 0x81, the source (0x7F: the guidance program), the PGN, the number of data
// bytes, the data, and a checksum that is the low byte of the sum of every byte from the source
// to the last data byte (the two header bytes are not in it).
#pragma once

#include <array>
#include <cstdint>

struct SectionState {
    std::uint64_t sectionsOn = 0;  // bit i: section i + 1 (1 the leftmost) is on
    int sectionCount = 1;          // the implement's sections, 1 to 64; bits above are never sent
    double speedKmh = 0.0;         // ground speed, forward
};

constexpr std::uint8_t kFrameSource = 0x7F;
constexpr std::uint8_t kMachineDataPgn = 239;  // 0xEF
constexpr std::uint8_t kSectionsPgn = 229;     // 0xE5

// PGN 239, machine data, 8 data bytes (frame bytes 5 to 12):
//   5  U-turn: 0, this system has no automatic U-turn.
//   6  speed: km/h x 10 in one byte (0 to 25.5 km/h; faster is sent as 25.5).
//   7  hydraulic lift: 0, no raise or lower command (1 lower, 2 raise come with headlands).
//   8  tramline: 0, no tramline (bit 0 right, bit 1 left).
//   9  geo stop: 0, go.
//   10 unused: 0.
//   11 sections 1 to 8 (bit 0 section 1), 12 sections 9 to 16.
// Every machine module reads this one; it is its watchdog too: a board that hears none for
// about two seconds switches its sections off.
std::array<std::uint8_t, 14> machineDataFrame(const SectionState& state);

// PGN 229, 64 sections, 10 data bytes (frame bytes 5 to 14):
//   5 to 12  sections 1-8, 9-16, ... 57-64, one byte each, bit 0 the lowest section.
//   13, 14   the implement's left and right edge speed, km/h x 10: both the ground speed here,
//            as the edges' own speeds in a turn come with the section bar.
std::array<std::uint8_t, 16> sectionsFrame(const SectionState& state);

// Only a layout of more than 16 sections needs PGN 229: PGN 239 carries sections 1 to 16, and
// the small serial boards do not skip a frame they do not know by its length but search its
// bytes for the next header, so a frame they need not read is better not sent to them.
bool needsSectionsFrame(const SectionState& state);
