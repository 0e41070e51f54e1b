// The position sent up to the caster, as the receiver reported it: a GGA sentence made from
// the last accepted fix, with the coordinates at full precision (the library hands the program
// the fix record, not the sentence).
#pragma once

#include <string>

#include "gpslink/satlinker.h"

// Empty when the fix has no position.
std::string ggaSentence(const GPS_POSITION& fix);
