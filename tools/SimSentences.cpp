#include "tools/SimSentences.h"

#include <cmath>
#include <cstdio>

#include "gpslink/NmeaSentence.h"

namespace {

// The simulated sky: PRN, elevation, azimuth, signal to noise.
constexpr int kSky[][4] = {{3, 41, 50, 46},   {7, 60, 317, 49},  {8, 34, 315, 45},
                           {11, 35, 148, 45}, {13, 38, 213, 45}, {16, 27, 68, 43},
                           {19, 72, 76, 50},  {23, 9, 182, 37},  {24, 6, 166, 35},
                           {28, 9, 271, 36},  {30, 15, 20, 38},  {32, 50, 120, 47}};
constexpr int kSkySize = static_cast<int>(sizeof kSky / sizeof kSky[0]);

std::string coordinate(double degrees, int degreeDigits, char positive, char negative) {
    const double magnitude = std::fabs(degrees);
    int whole = static_cast<int>(magnitude);
    double minutes = (magnitude - whole) * 60.0;
    // Rounding the minutes to five places may give 60.00000: carry it into the degrees.
    if (minutes >= 59.999995) {
        minutes = 0.0;
        ++whole;
    }
    char text[40];
    std::snprintf(text, sizeof text, "%0*d%08.5f,%c", degreeDigits, whole, minutes,
                  degrees < 0 ? negative : positive);
    return text;
}

std::string timeText(const SimFix& fix) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d%02d%05.2f", fix.hour, fix.minute, fix.second);
    return text;
}

}  // namespace

std::string ggaSentence(const SimFix& fix, const char* talker) {
    char rest[96];
    std::snprintf(rest, sizeof rest, ",%d,%02d,%.1f,%.1f,M,46.9,M,,", fix.quality, fix.satellites,
                  fix.hdop, fix.altitude);
    return nmeaSentence(std::string(talker) + "GGA," + timeText(fix) + "," +
                        coordinate(fix.latitude, 2, 'N', 'S') + "," +
                        coordinate(fix.longitude, 3, 'E', 'W') + rest);
}

std::string rmcSentence(const SimFix& fix, const char* talker) {
    char rest[96];
    std::snprintf(rest, sizeof rest, ",%.3f,%.1f,%02d%02d%02d,,,%c", fix.speedKnots, fix.course,
                  fix.day, fix.month, fix.year % 100, fix.quality == 2 ? 'D' : 'A');
    return nmeaSentence(std::string(talker) + "RMC," + timeText(fix) + "," +
                        (fix.quality > 0 ? "A" : "V") + "," +
                        coordinate(fix.latitude, 2, 'N', 'S') + "," +
                        coordinate(fix.longitude, 3, 'E', 'W') + rest);
}

std::string gsaSentence(const SimFix& fix, const char* talker) {
    std::string body = std::string(talker) + "GSA,A," + (fix.quality > 0 ? "3" : "1");
    for (int i = 0; i < 12; ++i) {
        char prn[8] = "";
        if (i < fix.satellites && i < kSkySize) std::snprintf(prn, sizeof prn, "%02d", kSky[i][0]);
        body += ",";
        body += prn;
    }
    char dops[48];
    std::snprintf(dops, sizeof dops, ",%.1f,%.1f,%.1f", fix.hdop * 1.6, fix.hdop, fix.hdop * 1.3);
    return nmeaSentence(body + dops);
}

std::string gsvSentences(const SimFix&) {
    const int messages = (kSkySize + 3) / 4;
    std::string all;
    for (int m = 0; m < messages; ++m) {
        char head[32];
        std::snprintf(head, sizeof head, "GPGSV,%d,%d,%02d", messages, m + 1, kSkySize);
        std::string body = head;
        for (int j = 4 * m; j < 4 * m + 4 && j < kSkySize; ++j) {
            char satellite[32];
            std::snprintf(satellite, sizeof satellite, ",%02d,%02d,%03d,%02d", kSky[j][0],
                          kSky[j][1], kSky[j][2], kSky[j][3]);
            body += satellite;
        }
        all += nmeaSentence(body);
    }
    return all;
}
