// The sun's elevation against the U.S. Naval Observatory's published instants, and the
// automatic palette's switch against a fake clock.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

#include "app/NightSwitch.h"
#include "app/ScreenConf.h"
#include "app/SolarElevation.h"

namespace {

constexpr double kTolerance = 0.5;  // degrees
constexpr double kObliquity = 23.44;

struct Instant {
    const char* name;
    int year, month, day, hour, minute;
    double declination;  // at the instant, by the definition of the season
};

// USNO Astronomical Applications, "Earth's Seasons and Apsides", 2024 and 2025 (UT, to the
// minute). At an equinox the sun is on the equator, at a solstice on a tropic: the elevation
// seen from the north pole is then the declination at any longitude, from the south pole its
// negative, and from the equator its complement at the longitude where it is noon.
const Instant kSeasons[] = {
    {"March equinox 2024", 2024, 3, 20, 3, 6, 0.0},
    {"June solstice 2024", 2024, 6, 20, 20, 51, kObliquity},
    {"September equinox 2024", 2024, 9, 22, 12, 44, 0.0},
    {"December solstice 2024", 2024, 12, 21, 9, 20, -kObliquity},
    {"March equinox 2025", 2025, 3, 20, 9, 1, 0.0},
    {"June solstice 2025", 2025, 6, 21, 2, 42, kObliquity},
    {"September equinox 2025", 2025, 9, 22, 18, 19, 0.0},
    {"December solstice 2025", 2025, 12, 21, 15, 3, -kObliquity},
};

TEST(SolarElevation, AtThePolesAtTheSeasonsOfTheAlmanac) {
    for (const Instant& i : kSeasons) {
        SCOPED_TRACE(i.name);
        const double t = utcSeconds(i.year, i.month, i.day, i.hour, i.minute, 0.0);
        for (const double longitude : {-120.0, 0.0, 75.0, 179.0}) {
            EXPECT_NEAR(solarElevation(90.0, longitude, t), i.declination, kTolerance);
            EXPECT_NEAR(solarElevation(-90.0, longitude, t), -i.declination, kTolerance);
        }
    }
}

// USNO "Sun and Moon Data for One Day", Greenwich (51.4779 N, 0.0015 W), 2024 March 20: sun
// transit 12:07 UT. Half a day after the equinox the declination is +0.15 degree, so the
// noon sun stands 90 - 51.48 + 0.15 = 38.67 degrees high; on the equator under the same
// meridian it is overhead (89.85) while at 180 degrees it is straight below, and six hours
// later it is overhead at 90 W.
TEST(SolarElevation, NoonAtGreenwichAndOnItsMeridian) {
    const double transit = utcSeconds(2024, 3, 20, 12, 7, 0.0);
    EXPECT_NEAR(solarElevation(51.4779, -0.0015, transit), 38.67, kTolerance);
    EXPECT_NEAR(solarElevation(0.0, 0.0, transit), 89.85, kTolerance);
    EXPECT_NEAR(solarElevation(0.0, 180.0, transit), -89.85, kTolerance);
    EXPECT_NEAR(solarElevation(0.0, -90.0, transit + 6 * 3600.0), 89.75, kTolerance);
}

TEST(SolarElevation, CalendarSeconds) {
    EXPECT_EQ(utcSeconds(1970, 1, 1, 0, 0, 0.0), 0.0);
    EXPECT_EQ(utcSeconds(2000, 3, 1, 0, 0, 0.0), 951868800.0);
    EXPECT_EQ(utcSeconds(2024, 12, 31, 23, 59, 59.5), 1735689599.5);
}

// A dusk in steps of a minute: the palette turns to night two minutes after the sun went
// below -6 degrees, not before; a sun hovering about -6 or a single wild reading never makes
// it flicker; it turns back only above -5 degrees, again after two minutes.
TEST(NightSwitch, HoldsEachSideForTwoMinutesWithAOneDegreeBand) {
    NightSwitch sw;
    double clock = 1000.0;  // the fake clock, seconds
    EXPECT_FALSE(sw.update(-3.0, clock)) << "the first reading decides";
    clock += 60;
    EXPECT_FALSE(sw.update(-6.2, clock));
    clock += 60;
    EXPECT_FALSE(sw.update(-5.9, clock)) << "back above the limit: the wait starts over";
    clock += 60;
    EXPECT_FALSE(sw.update(-6.1, clock));
    clock += 119;
    EXPECT_FALSE(sw.update(-6.3, clock)) << "119 s below is not yet two minutes";
    clock += 1;
    EXPECT_TRUE(sw.update(-6.4, clock));
    // Night: between -6 and -5 nothing changes, however long.
    for (int k = 0; k < 30; ++k) {
        clock += 60;
        EXPECT_TRUE(sw.update(k % 2 ? -5.1 : -5.9, clock));
    }
    // One wild reading above the band, then night again.
    clock += 60;
    EXPECT_TRUE(sw.update(30.0, clock));
    clock += 60;
    EXPECT_TRUE(sw.update(-7.0, clock));
    clock += 600;
    EXPECT_TRUE(sw.update(-7.0, clock));
    // Dawn.
    clock += 60;
    EXPECT_TRUE(sw.update(-4.9, clock));
    clock += 120;
    EXPECT_FALSE(sw.update(-4.5, clock));
    EXPECT_FALSE(sw.night());

    NightSwitch dark;
    EXPECT_TRUE(dark.update(-20.0, 0.0)) << "started at night: night at once";
}

TEST(ScreenConf, PaletteChoiceRoundTripsAndKeepsOtherKeys) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath("sulcovane.conf").toStdString();
    EXPECT_EQ(readPaletteChoice(path), PaletteChoice::Day) << "no file";
    {
        std::FILE* f = std::fopen(path.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fputs("[screen]\npalette = Night\n[ntrip]\nhost=example\n", f);
        std::fclose(f);
    }
    EXPECT_EQ(readPaletteChoice(path), PaletteChoice::Night);
    writePaletteChoice(path, PaletteChoice::Automatic);
    EXPECT_EQ(readPaletteChoice(path), PaletteChoice::Automatic);
    std::FILE* f = std::fopen(path.c_str(), "r");
    ASSERT_NE(f, nullptr);
    char text[256] = {};
    std::fread(text, 1, sizeof text - 1, f);
    std::fclose(f);
    EXPECT_NE(std::strstr(text, "host=example"), nullptr) << text;
    EXPECT_NE(std::strstr(text, "palette=auto"), nullptr) << text;
    writePaletteChoice(path, PaletteChoice::Day);
    EXPECT_EQ(readPaletteChoice(path), PaletteChoice::Day);
}

}  // namespace
