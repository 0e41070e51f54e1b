#include "gpslink/NmeaFields.h"

#include <locale.h>

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace nmea {

namespace {

bool isCSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Out-of-range reals are rare enough to go to the C library, in the "C" locale.
double realOutOfRange(const char* text) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return strtod_l(text, nullptr, cLocale);
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

namespace {

// Copies the field that starts at `p`; an empty field, the last one of the text included,
// counts as absent.
int copyField(const char* p, char* destination, int capacity) {
    if (*p == ',' || *p == '*' || *p == '\0') {
        destination[0] = '\0';
        return 0;
    }
    int n = 0;
    while (n < capacity - 1 && p[n] != '\0' && p[n] != ',' && p[n] != '*') {
        destination[n] = p[n];
        ++n;
    }
    destination[n] = '\0';
    return 1;
}

}  // namespace

int getField(const char* data, char* destination, int fieldNumber, int capacity) {
    if (data == nullptr || destination == nullptr || capacity <= 0) return 0;
    const char* p = data;
    for (int commas = 0; commas < fieldNumber; ++p) {
        if (*p == '\0') {
            destination[0] = '\0';
            return 0;
        }
        if (*p == ',') ++commas;
    }
    return copyField(p, destination, capacity);
}

FieldSplit::FieldSplit(const char* text) : data(text) {
    if (text == nullptr) return;
    starts[count++] = text;
    for (const char* p = text; *p != '\0' && count < kIndexed; ++p) {
        if (*p == ',') starts[count++] = p + 1;
    }
}

int FieldSplit::get(int fieldNumber, char* destination, int capacity) const {
    if (data == nullptr || destination == nullptr || capacity <= 0) return 0;
    if (fieldNumber >= kIndexed) return getField(data, destination, fieldNumber, capacity);
    if (fieldNumber >= count) {  // the text ended before this field
        destination[0] = '\0';
        return 0;
    }
    // A negative number reads field 0, as getField has it.
    return copyField(fieldNumber < 0 ? data : starts[fieldNumber], destination, capacity);
}

int textToInt(const char* text) {
    while (isCSpace(*text)) ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    // Saturate like strtol does, then narrow like atoi does, so no input overflows.
    long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        const int digit = *text - '0';
        if (!negative) {
            value = value > (LONG_MAX - digit) / 10 ? LONG_MAX : value * 10 + digit;
        } else {
            value = value < (LONG_MIN + digit) / 10 ? LONG_MIN : value * 10 - digit;
        }
    }
    return static_cast<int>(static_cast<unsigned long>(value));
}

double textToReal(const char* text) {
    const char* p = text;
    while (isCSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    const char* end = p + std::strlen(p);
    double value = 0.0;
    std::from_chars_result result{};
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && (isHexDigit(p[2]) || p[2] == '.')) {
        result = std::from_chars(p + 2, end, value, std::chars_format::hex);
        if (result.ec == std::errc::invalid_argument) value = 0.0;  // "0x" alone reads as 0
    } else {
        result = std::from_chars(p, end, value, std::chars_format::general);
    }
    if (result.ec == std::errc::result_out_of_range) return realOutOfRange(text);
    if (result.ec != std::errc{}) return 0.0;
    return negative ? -value : value;
}

int partToInt(const char* text, std::size_t start, std::size_t length) {
    char part[8] = {};
    std::size_t n = 0;
    for (std::size_t i = 0; i < start; ++i) {
        if (text[i] == '\0') return 0;
    }
    while (n < length && n < sizeof part - 1 && text[start + n] != '\0') {
        part[n] = text[start + n];
        ++n;
    }
    return textToInt(part);
}

int singleDigit(const char* text) {
    return static_cast<unsigned char>(text[0]) - '0';
}

double degreesFromText(const char* text, std::size_t degreeDigits) {
    char degrees[4] = {};
    std::size_t n = 0;
    while (n < degreeDigits && text[n] != '\0') {
        degrees[n] = text[n];
        ++n;
    }
    const double minutes = n == degreeDigits ? textToReal(text + degreeDigits) : 0.0;
    return textToReal(degrees) + minutes * (1.0 / 60.0);
}

}  // namespace nmea
