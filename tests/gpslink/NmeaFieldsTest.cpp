#include "gpslink/NmeaFields.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <string>

namespace {

using nmea::getField;

struct FieldCase {
    const char* data;
    int number;
    int capacity;
    int result;
    const char* text;
};

TEST(GetField, ExtractsOneField) {
    const FieldCase cases[] = {
        {"123519,4807.038,N", 0, 25, 1, "123519"},
        {"123519,4807.038,N", 1, 25, 1, "4807.038"},
        {"123519,4807.038,N", 2, 25, 1, "N"},
        {"123519,4807.038,N", 3, 25, 0, ""},  // beyond the last field
        {"123519,,N", 1, 25, 0, ""},          // empty between commas
        {"a,b,", 2, 25, 0, ""},               // empty at the end
        {"", 0, 25, 0, ""},
        {",x", 0, 25, 0, ""},
        {"ab*cd,e", 0, 25, 1, "ab"},  // stops at a star
        {"*x,y", 0, 25, 0, ""},
        {"abcdefghijklmnopqrstuvwxyz0123", 0, 25, 1, "abcdefghijklmnopqrstuvwx"},  // 24 kept
        {"abc,def", 1, 3, 1, "de"},
        {"abc,def", 1, 1, 1, ""},  // room for the terminator only
    };
    for (const FieldCase& c : cases) {
        char out[32];
        std::memset(out, '#', sizeof out);
        EXPECT_EQ(getField(c.data, out, c.number, c.capacity), c.result)
            << c.data << " field " << c.number;
        EXPECT_STREQ(out, c.text) << c.data << " field " << c.number;
    }
}

TEST(GetField, UnusableArgumentsLeaveTheDestination) {
    char out[4] = "old";
    EXPECT_EQ(getField(nullptr, out, 0, 4), 0);
    EXPECT_EQ(getField("a,b", out, 0, 0), 0);
    EXPECT_EQ(getField("a,b", out, 0, -3), 0);
    EXPECT_STREQ(out, "old");
    EXPECT_EQ(getField("a,b", nullptr, 0, 4), 0);
}

// The conversions must read what atoi and atof read in the "C" locale, and must do so under a
// German locale too, where the C library's atof would stop at the point.
class Conversions : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        if (std::setlocale(LC_NUMERIC, GetParam()) == nullptr) {
            GTEST_SKIP() << GetParam() << " is not installed";
        }
    }
    void TearDown() override { std::setlocale(LC_NUMERIC, "C"); }
};

TEST_P(Conversions, IntegersReadLikeAtoi) {
    struct Case {
        const char* text;
        int value;
    };
    for (const Case c : {Case{"08", 8}, Case{" 12x", 12}, Case{"+7", 7}, Case{"-5", -5},
                         Case{"", 0}, Case{"x1", 0}, Case{"2147483647", 2147483647},
                         // strtol saturates at LONG_MAX, which narrows to -1 as atoi has it
                         Case{"99999999999999999999999", -1}}) {
        EXPECT_EQ(nmea::textToInt(c.text), c.value) << c.text;
    }
}

TEST_P(Conversions, RealsReadLikeAtof) {
    struct Case {
        const char* text;
        double value;
    };
    for (const Case c :
         {Case{"4807.038", 4807.038}, Case{" 0.9", 0.9}, Case{"-3.25", -3.25}, Case{"+1e2", 100.0},
          Case{"1.5.6", 1.5}, Case{"12,5", 12.0}, Case{"", 0.0}, Case{"-", 0.0}, Case{"abc", 0.0},
          Case{"0x10", 16.0}, Case{"1e", 1.0}, Case{".5", 0.5}}) {
        EXPECT_DOUBLE_EQ(nmea::textToReal(c.text), c.value) << c.text;
    }
    EXPECT_TRUE(std::isinf(nmea::textToReal("1e999")));
    EXPECT_EQ(nmea::textToReal("1e-999"), 0.0);
    EXPECT_TRUE(std::isnan(nmea::textToReal("nan")));
}

TEST_P(Conversions, CoordinatesAndParts) {
    EXPECT_DOUBLE_EQ(nmea::degreesFromText("4807.038", 2), 48.0 + 7.038 * (1.0 / 60.0));
    EXPECT_DOUBLE_EQ(nmea::degreesFromText("01131.000", 3), 11.0 + 31.0 * (1.0 / 60.0));
    EXPECT_DOUBLE_EQ(nmea::degreesFromText("4", 2), 4.0);
    EXPECT_EQ(nmea::partToInt("123519.50", 4, 2), 19);
    EXPECT_EQ(nmea::partToInt("1235", 4, 2), 0);
    EXPECT_EQ(nmea::partToInt("12", 1, 2), 2);
    EXPECT_EQ(nmea::singleDigit("2"), 2);
}

INSTANTIATE_TEST_SUITE_P(Locales, Conversions, ::testing::Values("C", "de_DE.UTF-8"));

}  // namespace
