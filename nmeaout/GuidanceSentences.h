// The NMEA 0183 sentences of a cross-track error: $GPXTE and $GPAPB, the magnitude in nautical
// miles with 5 decimals (about 2 cm) and the side to steer to.
#pragma once

#include <string>

// crossTrack in decimetres, positive right of the line (steer left). Each sentence ends with
// its checksum and CR LF.
std::string xteSentence(double crossTrack);
std::string apbSentence(double crossTrack);
