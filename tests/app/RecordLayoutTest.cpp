// The two records that cross the library boundary keep their byte layout: the program and the
// library may be built apart.
#include <gtest/gtest.h>

#include <cstring>

#include "gpslink/satlinker.h"

namespace {

TEST(RecordLayout, FixRecordFieldsAtTheirOffsets) {
    GPS_POSITION p;
    std::memset(&p, 0, sizeof p);
    p.utcTime.hour = 0x1122;
    p.latitude = 48.1173;
    p.fixQuality = 0xAABBCCDD;
    p.satelliteCount = 7;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&p);
    EXPECT_EQ(sizeof p, 344u);
    EXPECT_EQ(bytes[24], 0x22);  // little-endian hour at 24
    EXPECT_EQ(bytes[25], 0x11);
    double lat;
    std::memcpy(&lat, bytes + 32, 8);
    EXPECT_EQ(lat, 48.1173);
    EXPECT_EQ(bytes[72], 0xDD);
    EXPECT_EQ(bytes[96], 7);
    SATLINKERCONFIG c{3, 38400};
    EXPECT_EQ(sizeof c, 8u);
    std::uint32_t baud;
    std::memcpy(&baud, reinterpret_cast<const unsigned char*>(&c) + 4, 4);
    EXPECT_EQ(baud, 38400u);
}

}  // namespace
