// What the parser keeps of each sentence type. Only the GGA values and the RMC speed leave the
// library (in GPS_POSITION); the rest is kept for inspection with a debugger or a test.
#pragma once

#include <cstdint>

namespace nmea {

struct GgaValues {
    std::uint8_t hour = 0, minute = 0, second = 0;
    double latitude = 0.0, longitude = 0.0;  // decimal degrees, north and east positive
    std::uint8_t fixQuality = 0;
    std::uint8_t satellitesInUse = 0;
    double hdop = 0.0;
    double altitude = 0.0;  // metres above mean sea level
    std::uint32_t count = 0;
};

struct GsaValues {
    char mode = 'M';
    std::uint8_t fixMode = 1;  // 1 no fix, 2 2-D, 3 3-D
    std::uint16_t prn[12] = {};
    double pdop = 0.0, hdop = 0.0, vdop = 0.0;
    std::uint32_t count = 0;
};

struct SatelliteSlot {
    std::uint16_t prn = 0;
    std::uint16_t snr = 0;
    std::uint32_t usedInSolution = 0;
    std::uint16_t azimuth = 0;
    std::uint16_t elevation = 0;
};

// Nine GSV messages of four satellites each.
inline constexpr int kSatelliteSlots = 36;

struct GsvValues {
    std::uint16_t satellitesInView = 0;
    SatelliteSlot slots[kSatelliteSlots] = {};
    std::uint32_t count = 0;
};

struct RmbValues {
    char status = 'V';
    double crossTrackError = 0.0;
    char steer = '?';
    char originId[25] = {};
    char destinationId[25] = {};
    double destinationLatitude = 0.0, destinationLongitude = 0.0;
    double range = 0.0, bearing = 0.0, closingVelocity = 0.0;
    char arrival = 'V';
    std::uint32_t count = 0;
};

struct RmcValues {
    std::uint8_t hour = 0, minute = 0, second = 0;
    char status = 'V';
    double latitude = 0.0, longitude = 0.0;
    double speed = 0.0;  // knots over ground
    double course = 0.0;
    std::uint8_t day = 1, month = 1;
    std::uint16_t year = 2000;       // the two digits as sent once a date has arrived (7 for "07")
    double magneticVariation = 0.0;  // east positive
    std::uint32_t count = 0;
};

struct ZdaValues {
    std::uint8_t hour = 0, minute = 0, second = 0;
    std::uint8_t day = 1, month = 1;
    std::uint16_t year = 2000;
    std::uint8_t zoneHours = 0, zoneMinutes = 0;
    std::uint32_t count = 0;
};

}  // namespace nmea
