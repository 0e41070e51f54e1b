#pragma once

#include <cstdint>

// The kind of work a journal holds, as its work-start record stores it: these values are on the
// disk and never change.
enum class JournalWorkKind : std::uint8_t {
    Free = 0,
    AbLine = 2,
};
