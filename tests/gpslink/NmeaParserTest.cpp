#include "gpslink/NmeaParser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "gpslink/NmeaSentence.h"
#include "tests/gpslink/FixRecorder.h"
#include "tests/support/NmeaFraming.h"

namespace {

const char* const kReferenceGga =
    "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";

class NmeaParserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        recorder().clear();
        parser.setFixCallback(recordFix);
    }
    void feed(const std::string& text) {
        parser.feed(reinterpret_cast<const std::uint8_t*>(text.data()),
                    static_cast<std::uint32_t>(text.size()));
    }
    std::size_t fixCount() { return recorder().fixes.size(); }
    const GPS_POSITION& lastFix() { return recorder().fixes.back(); }

    NmeaParser parser;
};

using nmeatest::sentence;

// A multi-constellation receiver reports each epoch once per talker: the first GGA is the fix,
// the others of the same time change nothing. Fractional seconds are part of the time.
TEST_F(NmeaParserTest, OneFixPerEpochWhateverTheTalkers) {
    const std::string gp10 =
        sentence("GPGGA,020935.10,4404.1351,N,12118.8556,W,1,08,0.9,1123.9,M,,M,,");
    const std::string gl10 =
        sentence("GLGGA,020935.10,4404.9999,N,12118.9999,W,2,02,1.5,1000.0,M,,M,,");
    const std::string ga10 =
        sentence("GAGGA,020935.10,4404.9999,N,12118.9999,W,2,03,1.5,1000.0,M,,M,,");
    const std::string gl20 =
        sentence("GLGGA,020935.20,4404.1352,N,12118.8556,W,1,02,0.9,1123.9,M,,M,,");
    const std::string gp20 =
        sentence("GPGGA,020935.20,4404.1353,N,12118.8556,W,1,07,0.9,1123.9,M,,M,,");
    feed(gp10 + gl10 + ga10);
    ASSERT_EQ(fixCount(), 1u);
    EXPECT_EQ(lastFix().satelliteCount, 8u);
    EXPECT_EQ(parser.gga().satellitesInUse, 8u) << "the others change nothing";
    EXPECT_EQ(parser.gga().fixQuality, 1u);
    EXPECT_DOUBLE_EQ(parser.gga().altitude, 1123.9);
    EXPECT_EQ(parser.gga().count, 1u);
    // The next epoch (a tenth later) is delivered at once, whichever talker opens it; the first
    // talker's sentence of that epoch is then the repeat.
    feed(gl20);
    ASSERT_EQ(fixCount(), 2u);
    EXPECT_EQ(lastFix().satelliteCount, 2u);
    feed(gp20);
    EXPECT_EQ(fixCount(), 2u);
    // The same talker repeating a time is not another constellation: delivered.
    feed(gl20);
    EXPECT_EQ(fixCount(), 3u);
    // A GGA without a time cannot be matched to an epoch and is delivered.
    feed(sentence("GPGGA,,4404.1351,N,12118.8556,W,1,08,0.9,1123.9,M,,M,,"));
    EXPECT_EQ(fixCount(), 4u);
    feed(sentence("GLGGA,,4404.1351,N,12118.8556,W,1,08,0.9,1123.9,M,,M,,"));
    EXPECT_EQ(fixCount(), 5u);
    // reset() forgets the epoch.
    feed(gp10);
    EXPECT_EQ(fixCount(), 6u);
    parser.reset();
    feed(gl10);
    EXPECT_EQ(fixCount(), 7u);
}

TEST_F(NmeaParserTest, ReferenceGgaDeliversTheWholeRecord) {
    feed(kReferenceGga);
    ASSERT_EQ(fixCount(), 1u);
    GPS_POSITION expected;
    std::memset(&expected, 0, sizeof expected);
    expected.utcTime.hour = 12;
    expected.utcTime.minute = 35;
    expected.utcTime.second = 19;
    expected.latitude = 48.0 + 7.038 * (1.0 / 60.0);
    expected.longitude = 11.0 + 31.0 * (1.0 / 60.0);
    expected.fixQuality = 1;
    expected.satelliteCount = 8;
    expected.hdop = 0.9f;
    EXPECT_EQ(std::memcmp(&lastFix(), &expected, sizeof expected), 0);
    EXPECT_NEAR(lastFix().latitude, 48.1173, 1e-9);
    EXPECT_NEAR(lastFix().longitude, 11.516667, 1e-6);
    EXPECT_DOUBLE_EQ(parser.gga().altitude, 545.4);
    EXPECT_EQ(parser.gga().count, 1u);
    EXPECT_EQ(parser.sentenceCount(), 1u);
}

// The program's one framer, against sentences framed by hand: the reference GGA, a checksum
// under 0x10 that needs its leading zero, and one with hex letters.
TEST_F(NmeaParserTest, ProgramFramerClosesSentencesAsTheParserChecksThem) {
    const std::string body = "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";
    EXPECT_EQ(nmeaSentence(body), kReferenceGga);
    EXPECT_EQ(nmeaChecksum(body), 0x47u);
    // 'A' ^ 'B' = 0x41 ^ 0x42 = 0x03; 'A' ^ 'n' = 0x41 ^ 0x6E = 0x2F; an empty body gives 0.
    EXPECT_EQ(nmeaSentence("AB"), "$AB*03\r\n");
    EXPECT_EQ(nmeaSentence("An"), "$An*2F\r\n");
    EXPECT_EQ(nmeaSentence(""), "$*00\r\n");
    feed(nmeaSentence(body));
    EXPECT_EQ(fixCount(), 1u) << "the parser takes what the framer closes";
}

// Builds "$" + prefix + two filler characters + "*" + `digits`, where the filler makes the
// checksum `target`.
std::string withFiller(const std::string& prefix, unsigned target, const char* digits) {
    const unsigned sum = nmeatest::checksum(prefix);
    for (unsigned first = '0'; first <= 0xFE; ++first) {
        const unsigned second = sum ^ first ^ target;
        if (second >= '0' && second <= 0xFE) {
            return "$" + prefix + static_cast<char>(first) + static_cast<char>(second) + "*" +
                   digits + "\r\n";
        }
    }
    return "no filler";
}

const std::string kGgaBody = "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";
const std::string kRmcBody = "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W";

// Which framings and checksums are accepted: the star and two digits, or a carriage return
// without star; the second digit must be upper case, the first may be either case.
struct Framing {
    std::string text;
    std::size_t fixes;
    std::uint32_t sentences;
};

void PrintTo(const Framing& f, std::ostream* out) {
    *out << ::testing::PrintToString(f.text);
}

class FramingTest : public NmeaParserTest, public ::testing::WithParamInterface<Framing> {};

TEST_P(FramingTest, AcceptsOrDrops) {
    ASSERT_EQ(GetParam().text.find("no filler"), std::string::npos);
    feed(GetParam().text);
    EXPECT_EQ(fixCount(), GetParam().fixes);
    EXPECT_EQ(parser.gga().count, GetParam().fixes);
    EXPECT_EQ(parser.sentenceCount(), GetParam().sentences);
}

INSTANTIATE_TEST_SUITE_P(
    Sentences, FramingTest,
    ::testing::Values(
        Framing{kReferenceGga, 1, 1},
        Framing{"$" + kGgaBody + "*48\r\n", 0, 0},  // checksum changed
        Framing{"$" + kGgaBody + "\r\n", 1, 1},     // no star: taken unchecked at the CR
        Framing{"$" + kGgaBody + "\n", 0, 0},       // no star and no CR: never ends
        Framing{withFiller("GPGGA,1,,,,,1,", 0x4F, "4F"), 1, 1},
        Framing{withFiller("GPGGA,1,,,,,1,", 0x4F, "4f"), 0, 0},  // lower-case second digit
        Framing{withFiller("GPGGA,1,,,,,1,", 0xAB, "aB"), 1, 1},  // lower-case first digit
        Framing{withFiller("GPGGA,1,,,,,1,", 0xAB, "AB"), 1, 1},
        // Garbage, binary and a sentence broken off by a carriage return: that one is taken
        // unchecked, the next is read from its "$".
        Framing{"\x01\xff$GPGGA,12\r\n#x" + std::string(kReferenceGga), 2, 2},
        // A "$" inside a sentence is data: the outer checksum fails, the inner sentence is lost.
        Framing{"$GPGGA,1$" + std::string(kReferenceGga), 0, 0},
        Framing{sentence("GPGGAXY,1"), 0, 1},                      // 7-character address
        Framing{"$GPGGAXYZ," + std::string(kReferenceGga), 1, 1},  // 8 characters: dropped
        Framing{sentence("GPGGA," + std::string(250, '1') + ",,,,,"), 1, 1},    // 255 of data
        Framing{sentence("GPGGA," + std::string(251, '1') + ",,,,,"), 0, 0}));  // 256

TEST_F(NmeaParserTest, SplitAtEveryPositionGivesTheSameFix) {
    const std::string text = std::string(kReferenceGga);
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        NmeaParser fresh;
        fresh.setFixCallback(recordFix);
        recorder().clear();
        fresh.feed(reinterpret_cast<const std::uint8_t*>(text.data()),
                   static_cast<std::uint32_t>(cut));
        fresh.feed(reinterpret_cast<const std::uint8_t*>(text.data() + cut),
                   static_cast<std::uint32_t>(text.size() - cut));
        ASSERT_EQ(recorder().fixes.size(), 1u) << "cut at " << cut;
        EXPECT_EQ(recorder().lines[0], "12:35:19 48.1173000 11.5166667 1 8 0.90 0.00\n");
    }
}

TEST_F(NmeaParserTest, EmptyGgaFieldsKeepTheLastValues) {
    feed(kReferenceGga);
    feed(sentence("GPGGA,123520,,,,,2,,,,,,,,"));
    ASSERT_EQ(fixCount(), 2u);
    EXPECT_EQ(lastFix().utcTime.second, 20);
    EXPECT_EQ(lastFix().fixQuality, 2u);
    EXPECT_NEAR(lastFix().latitude, 48.1173, 1e-9);
    EXPECT_NEAR(lastFix().longitude, 11.516667, 1e-6);
    EXPECT_EQ(lastFix().satelliteCount, 8u);
    EXPECT_FLOAT_EQ(lastFix().hdop, 0.9f);
    EXPECT_DOUBLE_EQ(parser.gga().altitude, 545.4);
}

TEST_F(NmeaParserTest, HemispheresSetTheSign) {
    struct Case {
        const char* ns;
        const char* ew;
        double latitudeSign, longitudeSign;
    };
    for (const Case c : {Case{"N", "E", 1, 1}, Case{"S", "W", -1, -1}, Case{"S", "E", -1, 1},
                         Case{"", "", 1, 1}, Case{"s", "w", 1, 1}}) {
        feed(sentence(std::string("GPGGA,000001,4807.038,") + c.ns + ",01131.000," + c.ew +
                      ",1,08,0.9,1,M,1,M,,"));
        EXPECT_NEAR(lastFix().latitude, c.latitudeSign * 48.1173, 1e-9) << c.ns;
        EXPECT_NEAR(lastFix().longitude, c.longitudeSign * 11.516667, 1e-6) << c.ew;
    }
}

TEST_F(NmeaParserTest, SpeedComesFromTheLastRmc) {
    feed(kReferenceGga);
    EXPECT_EQ(lastFix().speed, 0.0f);
    feed(sentence(kRmcBody));
    EXPECT_EQ(fixCount(), 1u) << "an RMC sentence alone makes no fix";
    feed(kReferenceGga);
    EXPECT_FLOAT_EQ(lastFix().speed, 22.4f);
    feed(sentence("GPRMC,123520,A,,,,,,,,,"));
    feed(kReferenceGga);
    EXPECT_EQ(lastFix().speed, 0.0f) << "an RMC without speed says 0";
}

// Every talker of a multi-constellation receiver names the same sentence; proprietary
// sentences and other lengths name nothing.
TEST_F(NmeaParserTest, TalkersOtherThanGpGiveFixes) {
    struct Case {
        const char* address;
        bool fix;
    };
    int second = 0;
    for (const Case c :
         {Case{"GNGGA", true}, Case{"GLGGA", true}, Case{"GAGGA", true}, Case{"GBGGA", true},
          Case{"BDGGA", true}, Case{"GQGGA", true}, Case{"GPGGA", true}, Case{"PGGGA", false},
          Case{"gnGGA", false}, Case{"G1GGA", false}, Case{"GNGGAX", false}, Case{"NGGA", false},
          Case{"GNgga", false}}) {
        recorder().clear();
        // A time of its own each: one epoch's GGA from a second talker is ignored.
        const std::string time = "1235" + std::to_string(10 + second++);
        feed(sentence(std::string(c.address) + "," + time +
                      ",4807.038,N,01131.000,E,1,08,0.9,,,,,,"));
        EXPECT_EQ(fixCount(), c.fix ? 1u : 0u) << c.address;
    }
    feed(sentence("GNRMC,123519,A,4807.038,N,01131.000,E,5.5,,,,"));
    feed(sentence("GNGGA,123559,4807.038,N,01131.000,E,1,08,0.9,,,,,,"));
    EXPECT_FLOAT_EQ(lastFix().speed, 5.5f);
    const std::uint32_t rmbBefore = parser.rmb().count;
    feed(sentence("PGRMB,1,2,3"));
    EXPECT_EQ(parser.rmb().count, rmbBefore);
}

TEST_F(NmeaParserTest, UnknownSentencesOnlyCount) {
    feed(sentence("GPVTG,0.0,T,10.5,M,0.0,N,0.0,K"));
    feed(sentence("PSTI,030"));
    EXPECT_EQ(parser.sentenceCount(), 2u);
    EXPECT_EQ(fixCount(), 0u);
}

TEST_F(NmeaParserTest, GsvRefusesMessageNumbersOutOfRange) {
    for (const char* numbers : {"1,0", "1,10", "1,", "0,1", "9,1", ",1"}) {
        feed(sentence(std::string("GPGSV,") + numbers + ",08,01,40,083,46"));
    }
    EXPECT_EQ(parser.gsv().count, 0u);
    EXPECT_EQ(parser.gsv().satellitesInView, 0u);
    EXPECT_EQ(parser.gsv().slots[0].prn, 0u);
    EXPECT_EQ(parser.sentenceCount(), 6u);
}

TEST_F(NmeaParserTest, GsvFillsTheSlotsOfItsMessage) {
    feed(sentence("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1"));
    feed(sentence("GPGSV,3,2,11,09,07,344,39,14,22,228,45,,,,,04,17,308,41"));
    const nmea::GsvValues& gsv = parser.gsv();
    EXPECT_EQ(gsv.count, 1u);
    EXPECT_EQ(gsv.satellitesInView, 11u);
    EXPECT_EQ(gsv.slots[4].prn, 9u);
    EXPECT_EQ(gsv.slots[4].elevation, 7u);
    EXPECT_EQ(gsv.slots[4].azimuth, 344u);
    EXPECT_EQ(gsv.slots[4].snr, 39u);
    EXPECT_EQ(gsv.slots[4].usedInSolution, 1u);
    EXPECT_EQ(gsv.slots[5].usedInSolution, 0u);
    EXPECT_EQ(gsv.slots[6].prn, 0u);
    EXPECT_EQ(gsv.slots[6].usedInSolution, 0u) << "an empty slot is never in use";
    EXPECT_EQ(gsv.slots[7].usedInSolution, 1u);
    EXPECT_EQ(gsv.slots[0].prn, 0u);
}

TEST_F(NmeaParserTest, OtherSentencesStoreTheirValues) {
    feed(sentence("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1"));
    EXPECT_EQ(parser.gsa().mode, 'A');
    EXPECT_EQ(parser.gsa().fixMode, 3);
    EXPECT_EQ(parser.gsa().prn[0], 4);
    EXPECT_EQ(parser.gsa().prn[2], 0);
    EXPECT_DOUBLE_EQ(parser.gsa().vdop, 2.1);
    feed(sentence("GPGSA,,,,,,,,,,,,,,,,,"));
    EXPECT_EQ(parser.gsa().mode, 'A') << "kept";
    EXPECT_EQ(parser.gsa().fixMode, 3) << "kept";
    EXPECT_EQ(parser.gsa().pdop, 0.0);

    feed(sentence(kRmcBody));
    const nmea::RmcValues& rmc = parser.rmc();
    EXPECT_EQ(rmc.status, 'A');
    EXPECT_DOUBLE_EQ(rmc.course, 84.4);
    EXPECT_EQ(rmc.day, 23);
    EXPECT_EQ(rmc.month, 3);
    EXPECT_EQ(rmc.year, 94);
    EXPECT_DOUBLE_EQ(rmc.magneticVariation, -3.1);
    feed(sentence("GPRMC,,,,,,,,,,,"));
    EXPECT_EQ(rmc.status, 'V');
    EXPECT_EQ(rmc.hour, 12) << "time kept";
    EXPECT_EQ(rmc.day, 23) << "date kept";
    EXPECT_NEAR(rmc.latitude, 48.1173, 1e-9) << "position kept";
    EXPECT_EQ(rmc.magneticVariation, 0.0);
    EXPECT_EQ(rmc.count, 2u);

    feed(sentence("GPRMB,A,0.66,L,003,004,4917.24,N,12309.57,W,001.3,052.5,000.5,V"));
    const nmea::RmbValues& rmb = parser.rmb();
    EXPECT_EQ(rmb.steer, 'L');
    EXPECT_STREQ(rmb.destinationId, "004");
    EXPECT_NEAR(rmb.destinationLongitude, -(123 + 9.57 / 60), 1e-9);
    EXPECT_DOUBLE_EQ(rmb.bearing, 52.5);
    feed(sentence("GPRMB,,,,,,,,,,,,,"));
    EXPECT_EQ(rmb.status, 'V');
    EXPECT_EQ(rmb.steer, '?');
    EXPECT_EQ(rmb.arrival, 'V');
    EXPECT_STREQ(rmb.originId, "");
    EXPECT_NEAR(rmb.destinationLatitude, 49 + 17.24 / 60, 1e-9) << "kept";

    feed(sentence("GPZDA,201530.00,04,07,2002,-5,30"));
    const nmea::ZdaValues& zda = parser.zda();
    EXPECT_EQ(zda.hour, 20);
    EXPECT_EQ(zda.second, 30);
    EXPECT_EQ(zda.day, 4);
    EXPECT_EQ(zda.year, 2002);
    EXPECT_EQ(zda.zoneHours, static_cast<std::uint8_t>(-5));
    feed(sentence("GPZDA,,,,,,"));
    EXPECT_EQ(zda.hour, 20) << "time kept";
    EXPECT_EQ(zda.day, 1);
    EXPECT_EQ(zda.year, 1);
    EXPECT_EQ(zda.zoneMinutes, 0);
}

TEST_F(NmeaParserTest, ResetRestoresTheDefaults) {
    feed(kReferenceGga);
    feed(sentence(kRmcBody));
    feed("$GPGGA,123");  // half a sentence in the framing
    parser.reset();
    EXPECT_EQ(parser.sentenceCount(), 0u);
    EXPECT_EQ(parser.gga().latitude, 0.0);
    EXPECT_EQ(parser.rmc().year, 2000);
    EXPECT_EQ(parser.rmc().status, 'V');
    EXPECT_EQ(parser.gsa().mode, 'M');
    feed(",4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n");
    EXPECT_EQ(fixCount(), 1u) << "only the sentence before the reset";
}

}  // namespace
