// What the screen shows of the correction link: where the client stands, what last went wrong,
// and how the corrections are doing. A snapshot, copied out of the client's atomics.
#pragma once

#include <cstdint>
#include <optional>

#include "corrections/Clock.h"

enum class LinkState : std::uint8_t {
    kOff,            // corrections not wanted
    kWaiting,        // waiting to reconnect
    kConnecting,     // resolving the caster's name and connecting
    kAwaitingReply,  // request sent
    kStreaming,      // corrections flowing to the receiver
    kSourceTable,    // reading the caster's source table
    kHalted,  // stopped until the settings change (bad login, unknown mountpoint, table read)
};

enum class LinkProblem : std::uint8_t {
    kNone,
    kBadLogin,
    kUnknownMountpoint,
    kNameNotResolved,
    kConnectionRefused,
    kTimeout,
    kNoData,
    kDropped,
    kBadReply,
};

struct CorrectionHealth {
    LinkState state = LinkState::kOff;
    LinkProblem problem = LinkProblem::kNone;  // the last failure; kept while waiting to retry
    std::uint64_t goodFrames = 0;
    std::uint64_t badFrames = 0;
    std::uint64_t bytesForwarded = 0;
    std::uint32_t connections = 0;        // streams opened since start
    std::optional<Millis> correctionAge;  // since the last good frame; none before the first
    Millis retryIn{0};                    // while waiting
};
