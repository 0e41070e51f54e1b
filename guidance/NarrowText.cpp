// The 8-bit form of a path or label. Our text is UTF-8 throughout, so the 8-bit form is the same
// bytes; the result stays valid until the next call on the same thread.
#include <string>

#include "guidance/Projection.h"

const char* toNarrow(std::string_view text) {
    // One buffer per thread: the latest result is kept, the one before it freed, and a call on
    // another thread cannot pull a string away from under its caller.
    thread_local std::string latest;
    latest.assign(text);
    return latest.c_str();
}
