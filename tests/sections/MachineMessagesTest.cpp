// The machine messages byte for byte, each frame written out by hand from the published layout:
// 0x80 0x81, source 0x7F, PGN, data length, data, and the low byte of the sum from the source to
// the last data byte (the sums are worked out in the comments).
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "sections/MachineMessages.h"

namespace {

TEST(MachineMessages, FramesCarryTheSectionsAndSpeedWhereTheBoardsReadThem) {
    // Sections 1, 3, 9 and 16 of 16 on at 12.34 km/h: 123 tenths (0x7B), sections 1-8 0x05,
    // 9-16 0x81. Sum 0x7F + 0xEF + 0x08 + 0x7B + 0x05 + 0x81 = 631 = 0x277.
    SectionState sixteen;
    sixteen.sectionCount = 16;
    sixteen.sectionsOn = (1u << 0) | (1u << 2) | (1u << 8) | (1u << 15);
    sixteen.speedKmh = 12.34;
    EXPECT_EQ(machineDataFrame(sixteen),
              (std::array<std::uint8_t, 14>{0x80, 0x81, 0x7F, 0xEF, 0x08, 0x00, 0x7B, 0x00, 0x00,
                                            0x00, 0x00, 0x05, 0x81, 0x77}));
    EXPECT_FALSE(needsSectionsFrame(sixteen));

    // 40 sections, 1, 17, 33 and 40 on, and bit 50 of a mask wider than the implement, which
    // is no section and is not sent; 8 km/h = 80 tenths (0x50) on both edges.
    SectionState forty;
    forty.sectionCount = 40;
    forty.sectionsOn = (std::uint64_t(1) << 0) | (std::uint64_t(1) << 16) |
                       (std::uint64_t(1) << 32) | (std::uint64_t(1) << 39) |
                       (std::uint64_t(1) << 49);
    forty.speedKmh = 8.0;
    EXPECT_TRUE(needsSectionsFrame(forty));
    // 0x7F + 0xE5 + 0x0A + 0x01 + 0x01 + 0x81 + 0x50 + 0x50 = 657 = 0x291.
    EXPECT_EQ(sectionsFrame(forty),
              (std::array<std::uint8_t, 16>{0x80, 0x81, 0x7F, 0xE5, 0x0A, 0x01, 0x00, 0x01, 0x00,
                                            0x81, 0x00, 0x00, 0x00, 0x50, 0x50, 0x91}));
    // Its PGN 239 holds sections 1 to 16 only: 0x7F + 0xEF + 0x08 + 0x50 + 0x01 = 455 = 0x1C7.
    EXPECT_EQ(machineDataFrame(forty),
              (std::array<std::uint8_t, 14>{0x80, 0x81, 0x7F, 0xEF, 0x08, 0x00, 0x50, 0x00, 0x00,
                                            0x00, 0x00, 0x01, 0x00, 0xC7}));

    // All 64 on, standing: 0x7F + 0xE5 + 0x0A + 8 x 0xFF = 2406 = 0x966.
    SectionState all;
    all.sectionCount = 64;
    all.sectionsOn = ~std::uint64_t(0);
    EXPECT_EQ(sectionsFrame(all),
              (std::array<std::uint8_t, 16>{0x80, 0x81, 0x7F, 0xE5, 0x0A, 0xFF, 0xFF, 0xFF, 0xFF,
                                            0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x66}));
    // Two sections: bits 3 and up of the mask are no section.
    SectionState two;
    two.sectionCount = 2;
    two.sectionsOn = 0xFF;
    EXPECT_EQ(machineDataFrame(two)[11], 0x03);
    EXPECT_EQ(machineDataFrame(two)[12], 0x00);
    EXPECT_FALSE(needsSectionsFrame(two));
}

TEST(MachineMessages, SpeedIsOneByteOfTenthsOfKmh) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double kmh;
        std::uint8_t tenths;
    } rows[] = {{7.26, 73}, {25.5, 255}, {40.0, 255}, {0.0, 0}, {-3.0, 0}, {nan, 0}, {0.04, 0}};
    for (const auto& row : rows) {
        SectionState s;
        s.sectionCount = 24;
        s.speedKmh = row.kmh;
        EXPECT_EQ(machineDataFrame(s)[6], row.tenths) << row.kmh;
        EXPECT_EQ(sectionsFrame(s)[13], row.tenths) << row.kmh;
        EXPECT_EQ(sectionsFrame(s)[14], row.tenths) << row.kmh;
    }
}

}  // namespace
