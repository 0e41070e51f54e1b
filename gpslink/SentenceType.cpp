#include "gpslink/SentenceType.h"

#include <cstring>

namespace nmea {

namespace {

bool isUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

}  // namespace

SentenceType sentenceType(const char* address) {
    if (!isUpper(address[0]) || !isUpper(address[1]) || address[0] == 'P') {
        return SentenceType::kOther;
    }
    if (address[2] == '\0' || address[3] == '\0' || address[4] == '\0' || address[5] != '\0') {
        return SentenceType::kOther;
    }
    const char* kind = address + 2;
    if (std::strcmp(kind, "GGA") == 0) return SentenceType::kGga;
    if (std::strcmp(kind, "GSA") == 0) return SentenceType::kGsa;
    if (std::strcmp(kind, "GSV") == 0) return SentenceType::kGsv;
    if (std::strcmp(kind, "RMB") == 0) return SentenceType::kRmb;
    if (std::strcmp(kind, "RMC") == 0) return SentenceType::kRmc;
    if (std::strcmp(kind, "ZDA") == 0) return SentenceType::kZda;
    return SentenceType::kOther;
}

}  // namespace nmea
