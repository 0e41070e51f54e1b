// Turns the receiver's byte stream into stored sentence values and, for every accepted GGA
// sentence, hands a GPS_POSITION to the fix callback: one per epoch, the first GGA of it (a GGA
// from another talker with the time of the one just delivered is the same epoch and is ignored).
//
// The byte stream may be split anywhere between reads, may carry garbage or binary packets
// between sentences, and may break off in the middle of one: a sentence starts at every "$"
// seen while searching, and an over-long address or data part sends the machine back to
// searching. Nothing is allocated; every buffer lives in the object.
#pragma once

#include <cstdint>

#include "gpslink/NmeaFields.h"
#include "gpslink/NmeaValues.h"
#include "gpslink/satlinker.h"

class NmeaParser {
  public:
    NmeaParser() { reset(); }
    virtual ~NmeaParser() = default;

    // Sets every stored value to its default, the framing to searching, the count to 0.
    void reset();

    // Called for each fix; null: fixes are only stored.
    void setFixCallback(GpsFixCallback callback) { fixCallback = callback; }

    // Passes the bytes in order to processByte; returns 1.
    int feed(const std::uint8_t* bytes, std::uint32_t count);
    void processByte(std::uint8_t byte);
    // Handles one complete sentence; returns 1.
    int dispatch(const char* address, const char* data);

    std::uint32_t sentenceCount() const { return sentences; }
    const nmea::GgaValues& gga() const { return ggaValues; }
    const nmea::GsaValues& gsa() const { return gsaValues; }
    const nmea::GsvValues& gsv() const { return gsvValues; }
    const nmea::RmbValues& rmb() const { return rmbValues; }
    const nmea::RmcValues& rmc() const { return rmcValues; }
    const nmea::ZdaValues& zda() const { return zdaValues; }

  private:
    enum State : std::int32_t {
        kSearching = 0,
        kAddress = 1,
        kData = 2,
        kFirstDigit = 3,
        kSecondDigit = 4,
    };

    void handleGga(const char* address, const char* data);
    void handleGsa(const char* data);
    void handleGsv(const char* data);
    void handleRmb(const char* data);
    void handleRmc(const char* data);
    void handleZda(const char* data);
    void deliverFix() const;

    std::int32_t state = kSearching;
    std::uint8_t checksum = 0;
    std::uint8_t receivedChecksum = 0;
    std::uint16_t index = 0;
    char address[8] = {};
    char data[256] = {};
    std::uint32_t sentences = 0;

    nmea::GgaValues ggaValues;
    nmea::GsaValues gsaValues;
    nmea::GsvValues gsvValues;
    nmea::RmbValues rmbValues;
    nmea::RmcValues rmcValues;
    nmea::ZdaValues zdaValues;
    GpsFixCallback fixCallback = nullptr;
    // The talker ("GP", "GN", ...) and time field of the last GGA delivered: a multi-
    // constellation receiver repeats an epoch's GGA once per talker, and only the first counts.
    char epochTalker[3] = {};
    char epochTime[nmea::kFieldCapacity] = {};
};
