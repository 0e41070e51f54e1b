// The lost-RTK warning over a drive: a table of (second, fix quality) with what must happen.
#include <gtest/gtest.h>

#include "corrections/RtkFixWatch.h"

namespace {

struct Step {
    double second;
    int quality;
    bool sounds;
    bool shown;
};

void drive(const std::vector<Step>& steps) {
    RtkFixWatch watch;
    for (const Step& s : steps) {
        const bool sounds = watch.update(s.quality, Millis(long(s.second * 1000)));
        EXPECT_EQ(sounds, s.sounds) << "at " << s.second << " s";
        EXPECT_EQ(watch.warning(), s.shown) << "at " << s.second << " s";
    }
}

TEST(RtkFixWatch, WarnsOnceAfterFiveSecondsAndClearsWhenTheFixHolds) {
    drive({
        {0, 1, false, false},
        {1, 4, false, false},  // fixed, but not yet long enough to be worth a warning
        {3, 5, false, false},  // lost before it had held: nothing
        {20, 5, false, false},
        {21, 4, false, false},
        {31, 4, false, false},  // held 10 s: armed
        {32, 5, false, false},  // lost
        {37, 5, false, false},  // exactly 5 s: not yet
        {37.1, 5, true, true},  // more than 5 s: sound and text
        {40, 5, false, true},
        {41, 4, false, true},  // back, the text stays until the fix holds 3 s
        {44, 4, false, false},
    });
}

// A tree line: the fix comes and goes every few seconds for a minute; one warning only.
TEST(RtkFixWatch, ATreeLineSoundsOnce) {
    std::vector<Step> steps = {{0, 4, false, false}, {10, 4, false, false}};
    int sounds = 0;
    RtkFixWatch watch;
    for (const Step& s : steps) watch.update(s.quality, Millis(long(s.second * 1000)));
    for (int t = 10; t < 70; ++t) {
        // Six seconds float, four seconds fixed, over and over.
        const int quality = (t - 10) % 10 < 6 ? 5 : 4;
        for (int ms = 0; ms < 1000; ms += 100) {
            if (watch.update(quality, Millis(t * 1000 + ms))) ++sounds;
        }
    }
    EXPECT_EQ(sounds, 1);
    // After the fix holds 10 s, a new loss warns again.
    for (int ms = 70'000; ms <= 80'000; ms += 100) watch.update(4, Millis(ms));
    EXPECT_FALSE(watch.warning());
    EXPECT_FALSE(watch.update(2, Millis(80'100)));
    EXPECT_TRUE(watch.update(2, Millis(85'200)));
}

}  // namespace
