// Field extraction and the number conversions shared by the sentence handlers. The conversions
// behave like the C library's atoi and atof in the "C" locale whatever locale the process runs
// under, so a German desktop reads "4807.038" as the receiver meant it.
#pragma once

#include <cstddef>

namespace nmea {

// Every handler reads a field into a buffer of this size, so a field keeps at most 24 characters.
inline constexpr int kFieldCapacity = 25;

// Copies comma-separated field `fieldNumber` (0 is the field after the address) of `data` into
// `destination`, at most capacity - 1 characters. Returns 1 when the field is present and not
// empty; otherwise the destination is the empty text (untouched when an argument is unusable).
int getField(const char* data, char* destination, int fieldNumber, int capacity);

// The field starts of one sentence's data, found in one pass, so that a handler reading twenty
// fields does not walk the text twenty times. get() gives exactly what getField gives.
class FieldSplit {
  public:
    explicit FieldSplit(const char* data);
    int get(int fieldNumber, char* destination, int capacity) const;

  private:
    static constexpr int kIndexed = 32;  // more than any handler reads
    const char* data;
    const char* starts[kIndexed];
    int count = 0;  // fields found, at most kIndexed
};

// atoi: leading white space, an optional sign, decimal digits; 0 when nothing fits.
int textToInt(const char* text);
// atof: leading white space, decimal or hexadecimal real, inf, nan; 0 when nothing fits.
double textToReal(const char* text);

// atoi of the `length` characters from `start` (fewer when the text ends first).
int partToInt(const char* text, std::size_t start, std::size_t length);

// The first character minus '0' (fix quality, fix mode).
int singleDigit(const char* text);

// ddmm.mmmm (latitude, 2 degree digits) or dddmm.mmmm (longitude, 3): decimal degrees.
double degreesFromText(const char* text, std::size_t degreeDigits);

}  // namespace nmea
