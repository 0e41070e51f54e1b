// Which of the handled sentences an address names, whatever constellation sent it.
#pragma once

namespace nmea {

enum class SentenceType { kOther, kGga, kGsa, kGsv, kRmb, kRmc, kZda };

// A five-character address of a two-letter talker (GP, GN, GL, GA, GB, BD, GQ, ...) followed by
// GGA, GSA, GSV, RMB, RMC or ZDA names that sentence: multi-constellation receivers send $GNGGA
// instead of $GPGGA and would otherwise never give a fix. Talkers starting with "P" are
// manufacturers' own sentences ($PGRMB, $PGRMC) and name nothing here.
SentenceType sentenceType(const char* address);

}  // namespace nmea
