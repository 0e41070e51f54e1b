// The corrections client: one thread that keeps a stream from an NTRIP caster flowing into the
// receiver, reconnecting politely, and keeps the receiver's position going up to the caster.
//
// It is one explicit state machine (LinkState) driven by events: the clock passing a deadline,
// the socket connecting, readable or closed, and start/stop from the program. Every deadline
// is read from the injected clock; the thread sleeps in poll() on the socket and a wake-up
// event, never longer than kLongestSleep, so a clock moved by a test is noticed at once after
// wake().
//
// The corrections bytes go to the receiver as they are decoded, in order, with no timer in
// between; a receiver that takes them slower holds the socket unread (the caster's TCP stream
// waits) and nothing is dropped. Nothing of the HTTP exchange ever reaches the receiver.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "corrections/Backoff.h"
#include "corrections/ChunkDecoder.h"
#include "corrections/Clock.h"
#include "corrections/CorrectionHealth.h"
#include "corrections/NameLookup.h"
#include "corrections/NtripReply.h"
#include "corrections/NtripSettings.h"
#include "corrections/RtcmFrameChecker.h"
#include "corrections/SourceTable.h"

class NtripClient {
  public:
    // Writes to the receiver; returns bytes taken (may wait briefly on a full port), or -1 when
    // the receiver is not there.
    using ReceiverWrite = std::function<std::int32_t(const std::uint8_t*, std::uint32_t)>;
    // The receiver's last position as a GGA sentence; empty while there is none.
    using PositionSource = std::function<std::string()>;

    static constexpr Millis kConnectTimeout{10'000};
    static constexpr Millis kSilenceTimeout{30'000};  // no reply, or no data, for this long
    static constexpr Millis kGgaInterval{10'000};
    static constexpr Millis kLongestSleep{200};

    NtripClient(const Clock& clock, ReceiverWrite write, PositionSource position);
    ~NtripClient();
    NtripClient(const NtripClient&) = delete;
    NtripClient& operator=(const NtripClient&) = delete;

    // Starts (or, with other settings, restarts) the client; settings that are off stop it. The
    // same settings again change nothing, so a halted client stays halted until they change.
    void start(const NtripSettings& settings);
    void stop();
    // Makes the thread look at the clock now.
    void wake();
    // The name resolver, getaddrinfo unless a test gives its own; set it before start().
    void setResolver(NameLookup::Resolver r) { resolver = std::move(r); }

    CorrectionHealth health() const;
    // The last source table read, nearest first to the position given.
    std::vector<Mountpoint> sourceTable(double latitude, double longitude) const;
    NtripSettings settings() const;

  private:
    void run();
    void reset();
    // When the state's next timer runs out.
    Millis nextTimer(Millis now) const;
    void onDeadlines(Millis now);
    void connect(Millis now);
    void onResolved(Millis now);
    void onConnected(Millis now);
    void onReadable(Millis now);
    void onBody(const std::uint8_t* bytes, std::size_t length, Millis now);
    void onSourceTableText(const std::uint8_t* bytes, std::size_t length, bool ended);
    void flushToReceiver();
    void flushToCaster(Millis now);
    void sendPosition(Millis now);
    // A failure that may pass: close, wait as the back-off says, try again.
    void fail(LinkProblem problem, Millis now);
    // A failure that will not pass by itself: close and wait for new settings.
    void halt(LinkProblem problem);
    void closeSocket();
    void setState(LinkState s) { state.store(s); }

    const Clock& clock;
    ReceiverWrite writeToReceiver;
    PositionSource position;

    NtripSettings current;  // only the thread reads it while it runs
    mutable std::mutex settingsLock;
    std::thread worker;
    std::atomic<bool> stopping{false};
    int wakeFd = -1;

    // The thread's own state.
    NameLookup::Resolver resolver = ::getaddrinfo;
    NameLookup lookup;
    int sock = -1;
    Millis deadline{0};
    Millis lastData{0};
    Millis streamStart{0};
    Millis nextPosition{0};
    Backoff backoff;
    NtripReply reply;
    ChunkDecoder chunks;
    RtcmFrameChecker frames;
    std::vector<std::uint8_t> toCaster;
    std::vector<std::uint8_t> toReceiver;
    std::vector<std::uint8_t> decoded;
    std::string tableText;
    // The first body bytes of an ICY reply, until it is known whether a header precedes them.
    std::string icyStart;
    bool icyChecked = true;

    // Shared with the screen.
    std::atomic<LinkState> state{LinkState::kOff};
    std::atomic<LinkProblem> problem{LinkProblem::kNone};
    std::atomic<std::uint64_t> goodFrames{0};
    std::atomic<std::uint64_t> badFrames{0};
    std::atomic<std::uint64_t> bytesForwarded{0};
    std::atomic<std::uint32_t> connections{0};
    std::atomic<long long> lastGoodMs{-1};
    std::atomic<long long> retryAtMs{0};
    mutable std::mutex tableLock;
    std::vector<Mountpoint> table;
};
