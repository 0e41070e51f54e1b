// The settings the driver sets: those kept in Settings.dat, the guidance pattern and typed
// heading kept in sulcovane.conf [guidance] and the warning's kept in [coverage].
#pragma once

#include <cstdint>
#include <limits>

#include "guidance/GuidancePattern.h"

// Index into customColors.
enum : int { kCustomText = 0, kCustomTrack = 1, kCustomBackground = 2 };

struct StoredSettings {
    float zoom = 3.0f;
    std::uint16_t implementHalfWidth = 600;  // cm
    std::uint16_t implementWidth = 1200;     // cm, always 2 x implementHalfWidth
    std::uint16_t arrowTolerance = 10;       // dm of cross-track error per arrow
    std::uint8_t showGuideNumbers = 1;
    std::uint32_t textColor = 0x00FF0000;  // COLORREF 0x00BBGGRR
    std::uint32_t trackColor = 0x0084EFFB;
    std::uint32_t backgroundColor = 0x0025C9A0;
    // The colour chooser's custom colours, one set per colour setting (text, track, background).
    std::uint32_t customColors[3][16] = {
        {0x8EC7F0, 0x84EFFB, 0xAC91EE, 0x72DB13, 0x638B6F, 0x89657E, 0x7B6688, 0x25C9A0, 0xB0F18D,
         0xDBC0A4, 0x4F7D9F, 0x935B61, 0xDC124F, 0x6415D9, 0xA8A046, 0xD80CE2},
        {0x8EC7F0, 0x84EFFB, 0xAC91EE, 0x72DB13, 0x638B6F, 0x89657E, 0x7B6688, 0x25C9A0, 0xB0F18D,
         0xDBC0A4, 0x4F7D9F, 0x935B61, 0xDC124F, 0x6415D9, 0xA8A046, 0xD80CE2},
        {0x8EC7F0, 0x84EFFB, 0xAC91EE, 0x72DB13, 0x638B6F, 0x89657E, 0x7B6688, 0x25C9A0, 0xB0F18D,
         0xDBC0A4, 0x4F7D9F, 0x935B61, 0xDC124F, 0x6415D9, 0xA8A046, 0xD80CE2}};
    std::uint8_t reviewStep = 1;  // never 0
    std::int8_t gpsPort = -1;
    std::uint8_t gpsBaudIndex = 255;
    std::uint8_t useWindowsGps = 0;
    std::uint8_t showVehicle = 1;
    std::uint8_t vehicleScaleIndex = 0;  // 0..4
    std::int16_t distanceThreshold = 5;  // dm
    std::uint16_t distanceThresholdSquared = 25;
    double speedThreshold = 1.0;  // knots
    double hdopThreshold = 2.5;
    std::uint16_t reservedBlock[33] = {};

    std::uint8_t guidancePattern = kPatternStraight;
    // Degrees clockwise from true north; NaN when none is typed (the smoothed heading is used).
    double headingDegrees = std::numeric_limits<double>::quiet_NaN();
    // sulcovane.conf [coverage]: the look-ahead of the warning of worked ground (s, 0: none)
    // and the share of the implement's width over worked ground that sets it off (per cent).
    double lookAheadSeconds = 2.0;
    double warnSharePercent = 30.0;
    // sulcovane.conf [farm]: the headland's width in implement widths, and what a driven
    // boundary records: the antenna's track or an implement edge (kBoundaryAntenna,
    // kBoundaryLeftEdge, kBoundaryRightEdge), moved outward by the offset (m). The farm book's
    // path is farmBookSetting() (app/FarmConfig.h): a string has no constant initialiser here.
    int headlandPasses = 1;
    std::uint8_t boundarySource = 0;
    double boundaryOffsetM = 0.0;
};

constexpr std::uint8_t kBoundaryAntenna = 0;
constexpr std::uint8_t kBoundaryLeftEdge = 1;
constexpr std::uint8_t kBoundaryRightEdge = 2;
