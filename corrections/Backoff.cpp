#include "corrections/Backoff.h"

#include <algorithm>

Millis Backoff::nextDelay() {
    Millis delay = kInitial;
    for (int i = 0; i < failures && delay < kMaximum; ++i) delay *= 2;
    ++failures;
    return std::min(delay, kMaximum);
}

void Backoff::connectionEnded(Millis deliveredFor) {
    if (deliveredFor >= kGoodConnection) failures = 0;
}
