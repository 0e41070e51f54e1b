// The sentences the simulated receiver sends, each complete with checksum and line end.
#pragma once

#include <cstddef>
#include <string>

struct SimFix {
    int hour = 0, minute = 0;
    double second = 0.0;  // with the fraction of a 5 or 10 Hz receiver
    int day = 1, month = 1, year = 2024;
    double latitude = 0.0, longitude = 0.0;
    double speedKnots = 0.0;
    double course = 0.0;
    int quality = 1;
    int satellites = 8;
    double hdop = 0.9;
    double altitude = 520.0;
};

// talker is the two-letter prefix: "GP" or "GN".
std::string ggaSentence(const SimFix& fix, const char* talker);
std::string rmcSentence(const SimFix& fix, const char* talker);
std::string gsaSentence(const SimFix& fix, const char* talker);
// The GSV messages for the simulated sky, all of them in one string.
std::string gsvSentences(const SimFix& fix);
