#include "sections/MachineMessages.h"

#include <cmath>
#include <cstddef>

namespace {

// The bits of the sections that exist: a mask from the driver's settings may be wider.
std::uint64_t existingSections(const SectionState& state) {
    if (state.sectionCount >= 64) return state.sectionsOn;
    if (state.sectionCount <= 0) return 0;
    return state.sectionsOn & ((std::uint64_t(1) << state.sectionCount) - 1);
}

// One byte of km/h x 10, rounded; standing, reversing and an unknown speed are all 0.
std::uint8_t speedByte(double kmh) {
    if (!(kmh > 0.0)) return 0;
    const double tenths = std::round(kmh * 10.0);
    return tenths >= 255.0 ? 255 : std::uint8_t(tenths);
}

template <std::size_t N>
void frame(std::array<std::uint8_t, N>& bytes, std::uint8_t pgn) {
    bytes[0] = 0x80;
    bytes[1] = 0x81;
    bytes[2] = kFrameSource;
    bytes[3] = pgn;
    bytes[4] = std::uint8_t(N - 6);
    unsigned sum = 0;
    for (std::size_t i = 2; i + 1 < N; ++i) sum += bytes[i];
    bytes[N - 1] = std::uint8_t(sum & 0xFF);
}

}  // namespace

std::array<std::uint8_t, 14> machineDataFrame(const SectionState& state) {
    std::array<std::uint8_t, 14> bytes{};
    const std::uint64_t on = existingSections(state);
    bytes[6] = speedByte(state.speedKmh);
    bytes[11] = std::uint8_t(on & 0xFF);
    bytes[12] = std::uint8_t((on >> 8) & 0xFF);
    frame(bytes, kMachineDataPgn);
    return bytes;
}

std::array<std::uint8_t, 16> sectionsFrame(const SectionState& state) {
    std::array<std::uint8_t, 16> bytes{};
    const std::uint64_t on = existingSections(state);
    for (std::size_t i = 0; i < 8; ++i) bytes[5 + i] = std::uint8_t((on >> (8 * i)) & 0xFF);
    bytes[13] = speedByte(state.speedKmh);
    bytes[14] = bytes[13];
    frame(bytes, kSectionsPgn);
    return bytes;
}

bool needsSectionsFrame(const SectionState& state) {
    return state.sectionCount > 16;
}
