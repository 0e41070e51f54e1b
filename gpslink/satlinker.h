// The receiver library's whole face: two exports, one start record in, one fix record out, and
// one export that writes to the receiver.
// Both records travel by value, so neither side ever frees anything of the other.
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(SATLINKER_BUILD)
#define SATLINKER_API __attribute__((visibility("default")))
#else
#define SATLINKER_API
#endif

// Start configuration: the port number n opens "COM<n>:", the speed is handed to the line set-up.
typedef struct SATLINKERCONFIG {
    int32_t portNumber;
    uint32_t baudRate;
} SATLINKERCONFIG;

typedef struct GPS_SYSTEMTIME {
    uint16_t year;
    uint16_t month;
    uint16_t dayOfWeek;
    uint16_t day;
    uint16_t hour;
    uint16_t minute;
    uint16_t second;
    uint16_t milliseconds;
} GPS_SYSTEMTIME;

#define GPS_MAX_SATELLITES 12

// One fix, laid out as the GPS intermediate driver's record so that the program sees the same
// bytes whatever built the library. Only time, position, speed, quality, HDOP and the satellite
// count are filled; every other field is zero.
typedef struct GPS_POSITION {
    uint32_t version;
    uint32_t size;
    uint32_t validFields;
    uint32_t flags;
    GPS_SYSTEMTIME utcTime;
    double latitude;
    double longitude;
    float speed;
    float heading;
    double magneticVariation;
    float altitudeSeaLevel;
    float altitudeEllipsoid;
    uint32_t fixQuality;
    uint32_t fixType;
    uint32_t fixSelection;
    float pdop;
    float hdop;
    float vdop;
    uint32_t satelliteCount;
    uint32_t satellitesUsedPrn[GPS_MAX_SATELLITES];
    uint32_t satellitesInView;
    uint32_t satellitesInViewPrn[GPS_MAX_SATELLITES];
    uint32_t satellitesInViewElevation[GPS_MAX_SATELLITES];
    uint32_t satellitesInViewAzimuth[GPS_MAX_SATELLITES];
    uint32_t satellitesInViewSnr[GPS_MAX_SATELLITES];
} GPS_POSITION;

// Called on the library's reader thread once per accepted GGA sentence.
typedef void (*GpsFixCallback)(GPS_POSITION position);

// Stores port, speed and callback, starts the reader thread and returns 1 at once; the window
// handle is accepted and ignored. A port that cannot be opened is noticed only by the absence
// of fixes.
SATLINKER_API int InitSatlinker(void* window, GpsFixCallback callback, SATLINKERCONFIG config);

// Signals the reader to stop, waits until it has left its loop, closes the port; returns 1.
SATLINKER_API int FinishSatlinker(void);

// Writes bytes to the receiver's open port (RTCM corrections), from any thread, in order. While
// the port's output queue is full the caller waits (at most about 100 ms per call, so that it
// can stop); nothing is ever dropped. Returns how many bytes went out, from the start of bytes:
// fewer than length when the queue stayed full (write the rest again), -1 when no port is open
// or the port failed.
SATLINKER_API int32_t SatlinkerWrite(const void* bytes, uint32_t length);

#ifdef __cplusplus
}

static_assert(sizeof(SATLINKERCONFIG) == 8);
static_assert(offsetof(SATLINKERCONFIG, baudRate) == 4);
static_assert(sizeof(GPS_POSITION) == 344);
static_assert(offsetof(GPS_POSITION, utcTime) == 16);
static_assert(offsetof(GPS_POSITION, utcTime.hour) == 24);
static_assert(offsetof(GPS_POSITION, utcTime.minute) == 26);
static_assert(offsetof(GPS_POSITION, utcTime.second) == 28);
static_assert(offsetof(GPS_POSITION, latitude) == 32);
static_assert(offsetof(GPS_POSITION, longitude) == 40);
static_assert(offsetof(GPS_POSITION, speed) == 48);
static_assert(offsetof(GPS_POSITION, heading) == 52);
static_assert(offsetof(GPS_POSITION, magneticVariation) == 56);
static_assert(offsetof(GPS_POSITION, altitudeSeaLevel) == 64);
static_assert(offsetof(GPS_POSITION, altitudeEllipsoid) == 68);
static_assert(offsetof(GPS_POSITION, fixQuality) == 72);
static_assert(offsetof(GPS_POSITION, fixType) == 76);
static_assert(offsetof(GPS_POSITION, fixSelection) == 80);
static_assert(offsetof(GPS_POSITION, pdop) == 84);
static_assert(offsetof(GPS_POSITION, hdop) == 88);
static_assert(offsetof(GPS_POSITION, vdop) == 92);
static_assert(offsetof(GPS_POSITION, satelliteCount) == 96);
static_assert(offsetof(GPS_POSITION, satellitesUsedPrn) == 100);
static_assert(offsetof(GPS_POSITION, satellitesInView) == 148);
static_assert(offsetof(GPS_POSITION, satellitesInViewPrn) == 152);
static_assert(offsetof(GPS_POSITION, satellitesInViewElevation) == 200);
static_assert(offsetof(GPS_POSITION, satellitesInViewAzimuth) == 248);
static_assert(offsetof(GPS_POSITION, satellitesInViewSnr) == 296);
#endif
