// The NMEA parser on arbitrary receiver bytes, split into arbitrary reads, and the field and
// number readers on arbitrary field texts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "gpslink/NmeaFields.h"
#include "gpslink/NmeaParser.h"

namespace {

volatile double sink = 0;

void takeFix(GPS_POSITION position) {
    sink = position.latitude + position.longitude + position.hdop + position.speed;
}

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The run-at-a-time feed must read exactly as the byte-at-a-time state machine.
void expectSame(const NmeaParser& a, const NmeaParser& b) {
    if (a.sentenceCount() != b.sentenceCount() || a.gga().count != b.gga().count ||
        !sameBits(a.gga().latitude, b.gga().latitude) ||
        !sameBits(a.gga().longitude, b.gga().longitude) || a.gga().second != b.gga().second ||
        a.rmc().count != b.rmc().count || !sameBits(a.rmc().speed, b.rmc().speed) ||
        a.gsv().count != b.gsv().count || a.gsa().count != b.gsa().count) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The parser keeps its stored values from input to input, as the library's one parser does
    // from sentence to sentence; only the framing starts afresh.
    static NmeaParser parser;
    parser.setFixCallback(takeFix);
    if (size == 0) return 0;
    // The first byte chooses the read size, as the serial driver would.
    const std::size_t piece = 1 + data[0] % 64;
    for (std::size_t at = 1; at < size; at += piece) {
        const std::size_t n = size - at < piece ? size - at : piece;
        parser.feed(data + at, static_cast<std::uint32_t>(n));
    }
    parser.feed(reinterpret_cast<const std::uint8_t*>("\r\n"), 2);
    static NmeaParser byteByByte;
    for (std::size_t at = 1; at < size; ++at) byteByByte.processByte(data[at]);
    byteByByte.processByte('\r');
    byteByByte.processByte('\n');
    expectSame(parser, byteByByte);

    char text[300];
    const std::size_t length = size - 1 < sizeof text - 1 ? size - 1 : sizeof text - 1;
    std::memcpy(text, data + 1, length);
    text[length] = '\0';
    char field[nmea::kFieldCapacity];
    for (int number = 0; number < 20; ++number) {
        if (nmea::getField(text, field, number, 1 + data[0] % nmea::kFieldCapacity) == 1) {
            sink = nmea::textToReal(field) + nmea::textToInt(field) +
                   nmea::degreesFromText(field, 3) + nmea::partToInt(field, 4, 2);
        }
    }
    return 0;
}
