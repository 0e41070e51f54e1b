#include "gpslink/NmeaParser.h"

#include <cstring>

#include "gpslink/NmeaFields.h"
#include "gpslink/SentenceType.h"

using nmea::kFieldCapacity;
using nmea::textToInt;
using nmea::textToReal;

namespace {

// Digits and upper-case A-F give their values. Anything else gives a value that cannot match:
// bytes below '0' go negative, and a lower-case letter as the second digit ('f' - 55 = 47)
// spoils the low bits. As a first digit only its low four bits survive the shift, so there
// lower case reads like upper case.
int hexDigitValue(std::uint8_t digit) {
    const int fromZero = digit - '0';
    return fromZero <= 9 ? fromZero : digit - 55;
}

struct Field {
    char text[kFieldCapacity];
    bool present;
};

Field field(const nmea::FieldSplit& data, int number) {
    Field f;
    f.present = data.get(number, f.text, kFieldCapacity) == 1;
    return f;
}

std::uint8_t timePart(const char* text, int part) {
    return static_cast<std::uint8_t>(nmea::partToInt(text, 2 * part, 2));
}

// Fields `number` and `number + 1`: a coordinate and its hemisphere letter. False when the
// coordinate is empty, so the caller keeps the old value.
bool readCoordinate(const nmea::FieldSplit& data, int number, std::size_t degreeDigits,
                    char negativeSide, double& value) {
    const Field coordinate = field(data, number);
    if (!coordinate.present) return false;
    value = nmea::degreesFromText(coordinate.text, degreeDigits);
    const Field side = field(data, number + 1);
    if (side.present && side.text[0] == negativeSide) value = -value;
    return true;
}

double realOrZero(const nmea::FieldSplit& data, int number) {
    const Field f = field(data, number);
    return f.present ? textToReal(f.text) : 0.0;
}

int intOrZero(const nmea::FieldSplit& data, int number) {
    const Field f = field(data, number);
    return f.present ? textToInt(f.text) : 0;
}

char charOr(const nmea::FieldSplit& data, int number, char fallback) {
    const Field f = field(data, number);
    return f.present ? f.text[0] : fallback;
}

}  // namespace

void NmeaParser::reset() {
    state = kSearching;
    checksum = 0;
    receivedChecksum = 0;
    index = 0;
    std::memset(address, 0, sizeof address);
    std::memset(data, 0, sizeof data);
    sentences = 0;
    ggaValues = {};
    gsaValues = {};
    gsvValues = {};
    rmbValues = {};
    rmcValues = {};
    zdaValues = {};
    std::memset(epochTalker, 0, sizeof epochTalker);
    std::memset(epochTime, 0, sizeof epochTime);
}

// Byte by byte as processByte has it, with the two states where nearly all bytes go taken a run
// at a time: the search for "$" and the data up to "*" or the carriage return.
int NmeaParser::feed(const std::uint8_t* bytes, std::uint32_t count) {
    const std::uint8_t* p = bytes;
    const std::uint8_t* const end = bytes + count;
    while (p < end) {
        if (state == kSearching) {
            p = static_cast<const std::uint8_t*>(std::memchr(p, '$', end - p));
            if (p == nullptr) break;
        } else if (state == kData) {
            std::uint8_t sum = checksum;
            std::uint16_t at = index;
            while (p < end && *p != '*' && *p != '\r' && at < sizeof data) {
                sum ^= *p;
                data[at++] = static_cast<char>(*p++);
            }
            checksum = sum;
            index = at;
            if (at == sizeof data) {
                state = kSearching;
                continue;
            }
            if (p == end) break;
        }
        processByte(*p++);
    }
    return 1;
}

// The checksum covers every byte after "$" up to the one before "*", the address's comma
// included. A sentence ended by a carriage return without "*" is taken unchecked.
void NmeaParser::processByte(std::uint8_t byte) {
    switch (state) {
        case kSearching:
            if (byte == '$') {
                checksum = 0;
                index = 0;
                state = kAddress;
            }
            break;
        case kAddress:
            checksum ^= byte;
            if (byte == ',' || byte == '*') {
                address[index] = '\0';
                index = 0;
                state = kData;
            } else {
                address[index++] = static_cast<char>(byte);
                if (index == sizeof address) state = kSearching;
            }
            break;
        case kData:
            if (byte == '*') {
                data[index] = '\0';
                state = kFirstDigit;
            } else if (byte == '\r') {
                data[index] = '\0';
                dispatch(address, data);
                state = kSearching;
            } else {
                checksum ^= byte;
                data[index++] = static_cast<char>(byte);
                if (index == sizeof data) state = kSearching;
            }
            break;
        case kFirstDigit:
            receivedChecksum = static_cast<std::uint8_t>(hexDigitValue(byte) * 16);
            state = kSecondDigit;
            break;
        case kSecondDigit:
            receivedChecksum = static_cast<std::uint8_t>(receivedChecksum | hexDigitValue(byte));
            if (receivedChecksum == checksum) dispatch(address, data);
            state = kSearching;
            break;
        default:
            state = kSearching;
            break;
    }
}

int NmeaParser::dispatch(const char* sentenceAddress, const char* sentenceData) {
    switch (nmea::sentenceType(sentenceAddress)) {
        case nmea::SentenceType::kGga:
            handleGga(sentenceAddress, sentenceData);
            break;
        case nmea::SentenceType::kGsa:
            handleGsa(sentenceData);
            break;
        case nmea::SentenceType::kGsv:
            handleGsv(sentenceData);
            break;
        case nmea::SentenceType::kRmb:
            handleRmb(sentenceData);
            break;
        case nmea::SentenceType::kRmc:
            handleRmc(sentenceData);
            break;
        case nmea::SentenceType::kZda:
            handleZda(sentenceData);
            break;
        case nmea::SentenceType::kOther:
            break;
    }
    ++sentences;
    return 1;
}

// $GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47
// time, latitude, N/S, longitude, E/W, quality, satellites, HDOP, altitude. An empty field
// keeps the value of the last sentence that carried it.
//
// $GPGGA then $GLGGA (or $GAGGA, $BDGGA) with the same time is one epoch seen by two
// constellations: the second would only swap in its own satellite count, so it changes nothing
// and calls nothing. The same talker repeating a time is a new sentence and is delivered.
void NmeaParser::handleGga(const char* sentenceAddress, const char* sentenceData) {
    const nmea::FieldSplit text(sentenceData);
    const Field time = field(text, 0);
    const char talker[3] = {sentenceAddress[0], sentenceAddress[0] ? sentenceAddress[1] : '\0',
                            '\0'};
    if (time.present && std::strcmp(time.text, epochTime) == 0 &&
        std::strcmp(talker, epochTalker) != 0) {
        return;
    }
    std::memcpy(epochTalker, talker, sizeof epochTalker);
    if (time.present) {
        std::memcpy(epochTime, time.text, sizeof epochTime);
    } else {
        epochTime[0] = '\0';
    }
    nmea::GgaValues& v = ggaValues;
    if (time.present) {
        v.hour = timePart(time.text, 0);
        v.minute = timePart(time.text, 1);
        v.second = timePart(time.text, 2);
    }
    readCoordinate(text, 1, 2, 'S', v.latitude);
    readCoordinate(text, 3, 3, 'W', v.longitude);
    if (const Field quality = field(text, 5); quality.present) {
        v.fixQuality = static_cast<std::uint8_t>(nmea::singleDigit(quality.text));
    }
    if (const Field satellites = field(text, 6); satellites.present) {
        v.satellitesInUse = static_cast<std::uint8_t>(nmea::partToInt(satellites.text, 0, 2));
    }
    if (const Field hdop = field(text, 7); hdop.present) v.hdop = textToReal(hdop.text);
    if (const Field altitude = field(text, 8); altitude.present) {
        v.altitude = textToReal(altitude.text);
    }
    ++v.count;
    deliverFix();
}

void NmeaParser::deliverFix() const {
    if (fixCallback == nullptr) return;
    GPS_POSITION position;
    std::memset(&position, 0, sizeof position);
    position.utcTime.hour = ggaValues.hour;
    position.utcTime.minute = ggaValues.minute;
    position.utcTime.second = ggaValues.second;
    position.latitude = ggaValues.latitude;
    position.longitude = ggaValues.longitude;
    position.speed = static_cast<float>(rmcValues.speed);
    position.fixQuality = ggaValues.fixQuality;
    position.hdop = static_cast<float>(ggaValues.hdop);
    position.satelliteCount = ggaValues.satellitesInUse;
    fixCallback(position);
}

// $GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39
// mode, fix mode, 12 PRNs, PDOP, HDOP, VDOP.
void NmeaParser::handleGsa(const char* sentenceData) {
    const nmea::FieldSplit text(sentenceData);
    nmea::GsaValues& v = gsaValues;
    if (const Field mode = field(text, 0); mode.present) v.mode = mode.text[0];
    if (const Field fixMode = field(text, 1); fixMode.present) {
        v.fixMode = static_cast<std::uint8_t>(nmea::singleDigit(fixMode.text));
    }
    for (int i = 0; i < 12; ++i) {
        const Field prn = field(text, 2 + i);
        v.prn[i] = static_cast<std::uint16_t>(prn.present ? nmea::partToInt(prn.text, 0, 2) : 0);
    }
    v.pdop = realOrZero(text, 14);
    v.hdop = realOrZero(text, 15);
    v.vdop = realOrZero(text, 16);
    ++v.count;
}

// $GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*75
// message total, message number, satellites in view, then four of (PRN, elevation, azimuth,
// SNR). Message m fills slots 4(m-1) to 4(m-1)+3; numbers outside 1..8 of 1..9 are refused.
void NmeaParser::handleGsv(const char* sentenceData) {
    const nmea::FieldSplit text(sentenceData);
    const Field total = field(text, 0);
    const Field number = field(text, 1);
    if (!total.present || !number.present) return;
    const int messages = textToInt(total.text);
    const int message = textToInt(number.text);
    if (messages < 1 || messages > 8 || message < 1 || message > 9) return;
    nmea::GsvValues& v = gsvValues;
    if (const Field inView = field(text, 2); inView.present) {
        v.satellitesInView = static_cast<std::uint16_t>(textToInt(inView.text));
    }
    for (int j = 0; j < 4; ++j) {
        nmea::SatelliteSlot& slot = v.slots[4 * (message - 1) + j];
        slot.prn = static_cast<std::uint16_t>(intOrZero(text, 3 + 4 * j));
        slot.elevation = static_cast<std::uint16_t>(intOrZero(text, 4 + 4 * j));
        slot.azimuth = static_cast<std::uint16_t>(intOrZero(text, 5 + 4 * j));
        slot.snr = static_cast<std::uint16_t>(intOrZero(text, 6 + 4 * j));
        slot.usedInSolution = 0;
        for (int i = 0; i < 12 && slot.prn != 0; ++i) {
            if (gsaValues.prn[i] == slot.prn) slot.usedInSolution = 1;
        }
    }
    ++v.count;
}

// $GPRMB,A,0.66,L,003,004,4917.24,N,12309.57,W,001.3,052.5,000.5,V*20
// status, cross-track error, steer, origin id, destination id, destination latitude and
// longitude, range, bearing, closing velocity, arrival. Only the destination is kept when empty.
void NmeaParser::handleRmb(const char* sentenceData) {
    const nmea::FieldSplit text(sentenceData);
    nmea::RmbValues& v = rmbValues;
    v.status = charOr(text, 0, 'V');
    v.crossTrackError = realOrZero(text, 1);
    v.steer = charOr(text, 2, '?');
    text.get(3, v.originId, kFieldCapacity);
    text.get(4, v.destinationId, kFieldCapacity);
    readCoordinate(text, 5, 2, 'S', v.destinationLatitude);
    readCoordinate(text, 7, 3, 'W', v.destinationLongitude);
    v.range = realOrZero(text, 9);
    v.bearing = realOrZero(text, 10);
    v.closingVelocity = realOrZero(text, 11);
    v.arrival = charOr(text, 12, 'V');
    ++v.count;
}

// $GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A
// time, status, latitude, longitude, speed in knots, course, date ddmmyy, magnetic variation.
// Time, position and date are kept when empty; the rest falls back to "V" and 0.
void NmeaParser::handleRmc(const char* sentenceData) {
    const nmea::FieldSplit text(sentenceData);
    nmea::RmcValues& v = rmcValues;
    if (const Field time = field(text, 0); time.present) {
        v.hour = timePart(time.text, 0);
        v.minute = timePart(time.text, 1);
        v.second = timePart(time.text, 2);
    }
    v.status = charOr(text, 1, 'V');
    readCoordinate(text, 2, 2, 'S', v.latitude);
    readCoordinate(text, 4, 3, 'W', v.longitude);
    v.speed = realOrZero(text, 6);
    v.course = realOrZero(text, 7);
    if (const Field date = field(text, 8); date.present) {
        v.day = static_cast<std::uint8_t>(nmea::partToInt(date.text, 0, 2));
        v.month = static_cast<std::uint8_t>(nmea::partToInt(date.text, 2, 2));
        v.year = static_cast<std::uint16_t>(nmea::partToInt(date.text, 4, 2));
    }
    const Field variation = field(text, 9);
    v.magneticVariation = variation.present ? textToReal(variation.text) : 0.0;
    if (const Field side = field(text, 10);
        variation.present && side.present && side.text[0] == 'W') {
        v.magneticVariation = -v.magneticVariation;
    }
    ++v.count;
}

// $GPZDA,201530.00,04,07,2002,00,00*60
// time, day, month, year, local zone hours and minutes.
void NmeaParser::handleZda(const char* sentenceData) {
    const nmea::FieldSplit text(sentenceData);
    nmea::ZdaValues& v = zdaValues;
    if (const Field time = field(text, 0); time.present) {
        v.hour = timePart(time.text, 0);
        v.minute = timePart(time.text, 1);
        v.second = timePart(time.text, 2);
    }
    const Field day = field(text, 1);
    const Field month = field(text, 2);
    v.day = static_cast<std::uint8_t>(day.present ? nmea::partToInt(day.text, 0, 2) : 1);
    v.month = static_cast<std::uint8_t>(month.present ? nmea::partToInt(month.text, 0, 2) : 1);
    const Field year = field(text, 3);
    v.year = static_cast<std::uint16_t>(year.present ? textToInt(year.text) : 1);
    v.zoneHours = static_cast<std::uint8_t>(intOrZero(text, 4));
    v.zoneMinutes = static_cast<std::uint8_t>(intOrZero(text, 5));
    ++v.count;
}
