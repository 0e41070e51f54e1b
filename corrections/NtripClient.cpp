#include "corrections/NtripClient.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "corrections/NtripRequest.h"

NtripClient::NtripClient(const Clock& c, ReceiverWrite write, PositionSource source)
    : clock(c), writeToReceiver(std::move(write)), position(std::move(source)) {
    wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

NtripClient::~NtripClient() {
    stop();
    if (wakeFd >= 0) ::close(wakeFd);
}

void NtripClient::start(const NtripSettings& settings) {
    {
        std::lock_guard<std::mutex> lock(settingsLock);
        if (worker.joinable() && settings == current) return;
    }
    stop();
    if (!settings.on || settings.caster.empty()) return;
    {
        std::lock_guard<std::mutex> lock(settingsLock);
        current = settings;
    }
    reset();
    stopping = false;
    setState(LinkState::kWaiting);
    worker = std::thread([this] { run(); });
}

void NtripClient::stop() {
    stopping = true;
    wake();
    if (worker.joinable()) worker.join();
    closeSocket();
    setState(LinkState::kOff);
    std::lock_guard<std::mutex> lock(settingsLock);
    current = NtripSettings{};
}

void NtripClient::wake() {
    if (wakeFd >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakeFd, &one, sizeof one);
    }
}

NtripSettings NtripClient::settings() const {
    std::lock_guard<std::mutex> lock(settingsLock);
    return current;
}

CorrectionHealth NtripClient::health() const {
    CorrectionHealth h;
    h.state = state.load();
    h.problem = problem.load();
    h.goodFrames = goodFrames.load();
    h.badFrames = badFrames.load();
    h.bytesForwarded = bytesForwarded.load();
    h.connections = connections.load();
    const Millis now = clock.now();
    if (const long long last = lastGoodMs.load(); last >= 0) h.correctionAge = now - Millis(last);
    h.retryIn = std::max(Millis(0), Millis(retryAtMs.load()) - now);
    return h;
}

std::vector<Mountpoint> NtripClient::sourceTable(double latitude, double longitude) const {
    std::vector<Mountpoint> copy;
    {
        std::lock_guard<std::mutex> lock(tableLock);
        copy = table;
    }
    sortNearestFirst(copy, latitude, longitude);
    return copy;
}

void NtripClient::reset() {
    closeSocket();
    backoff.reset();
    frames = RtcmFrameChecker{};
    problem = LinkProblem::kNone;
    goodFrames = 0;
    badFrames = 0;
    bytesForwarded = 0;
    connections = 0;
    lastGoodMs = -1;
    retryAtMs = 0;
    deadline = clock.now();
}

void NtripClient::closeSocket() {
    lookup.abandon();
    if (sock >= 0) ::close(sock);
    sock = -1;
    toCaster.clear();
    toReceiver.clear();
}

void NtripClient::run() {
    // Named so that it can be told apart in top, a debugger and the CPU benchmark.
    pthread_setname_np(pthread_self(), "ntrip");
    while (!stopping) {
        const Millis now = clock.now();
        onDeadlines(now);
        pollfd fds[2] = {{wakeFd, POLLIN, 0}, {-1, 0, 0}};
        const LinkState s = state.load();
        const bool resolving = sock < 0 && lookup.pending();
        if (resolving) fds[1] = {lookup.fd(), POLLIN, 0};
        if (sock >= 0) {
            fds[1].fd = sock;
            if (s == LinkState::kConnecting || !toCaster.empty()) fds[1].events |= POLLOUT;
            // A receiver that has not taken the last bytes yet holds the socket unread.
            if (s != LinkState::kConnecting && toReceiver.empty()) fds[1].events |= POLLIN;
        }
        Millis sleep = std::clamp(nextTimer(now) - now, Millis(0), kLongestSleep);
        // A receiver that took only part of the last bytes is tried again soon.
        if (!toReceiver.empty()) sleep = std::min(sleep, Millis(20));
        if (::poll(fds, sock >= 0 || resolving ? 2 : 1, int(sleep.count())) < 0 && errno != EINTR)
            break;
        if (fds[0].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t n = ::read(wakeFd, &count, sizeof count);
        }
        if (stopping) break;
        const Millis then = clock.now();
        if (!toReceiver.empty()) flushToReceiver();
        if (resolving) {
            // A deadline passed meanwhile may have given the lookup up.
            if (fds[1].revents != 0 && lookup.pending()) onResolved(then);
            continue;
        }
        if (sock < 0 || fds[1].revents == 0) continue;
        if (state.load() == LinkState::kConnecting) {
            onConnected(then);
            continue;
        }
        if (fds[1].revents & POLLOUT) flushToCaster(then);
        if (sock >= 0 && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) onReadable(then);
    }
    closeSocket();
}

Millis NtripClient::nextTimer(Millis now) const {
    switch (state.load()) {
        case LinkState::kWaiting:
        case LinkState::kConnecting:
            return deadline;
        case LinkState::kAwaitingReply:
        case LinkState::kSourceTable:
            return lastData + kSilenceTimeout;
        case LinkState::kStreaming:
            return std::min(lastData + kSilenceTimeout, nextPosition);
        case LinkState::kOff:
        case LinkState::kHalted:
            break;
    }
    return now + kLongestSleep;
}

void NtripClient::onDeadlines(Millis now) {
    switch (state.load()) {
        case LinkState::kWaiting:
            if (now >= deadline) connect(now);
            break;
        case LinkState::kConnecting:
            if (now >= deadline) fail(LinkProblem::kTimeout, now);
            break;
        case LinkState::kAwaitingReply:
        case LinkState::kSourceTable:
            if (now - lastData >= kSilenceTimeout) fail(LinkProblem::kTimeout, now);
            break;
        case LinkState::kStreaming:
            if (now - lastData >= kSilenceTimeout) {
                fail(LinkProblem::kNoData, now);
            } else if (now >= nextPosition) {
                sendPosition(now);
            }
            break;
        case LinkState::kOff:
        case LinkState::kHalted:
            break;
    }
}

// The name is resolved on a thread of the lookup's own; the connection goes on when it answers
// (onResolved), and the connect timeout covers the lookup too.
void NtripClient::connect(Millis now) {
    setState(LinkState::kConnecting);
    deadline = now + kConnectTimeout;
    lookup.start(current.caster, std::to_string(current.port), resolver);
}

void NtripClient::onResolved(Millis now) {
    int rc = 0;
    addrinfo* found = lookup.take(rc);
    if (rc != 0 || found == nullptr) {
        if (found) freeaddrinfo(found);
        fail(rc == EAI_AGAIN ? LinkProblem::kTimeout : LinkProblem::kNameNotResolved, now);
        return;
    }
    sock = ::socket(found->ai_family, found->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                    found->ai_protocol);
    int result = sock < 0 ? -1 : ::connect(sock, found->ai_addr, found->ai_addrlen);
    const int error = errno;
    freeaddrinfo(found);
    if (sock < 0 || (result != 0 && error != EINPROGRESS)) {
        fail(error == ECONNREFUSED ? LinkProblem::kConnectionRefused : LinkProblem::kDropped, now);
        return;
    }
    // Corrections are small and late ones are worthless: no Nagle delay on the GGA.
    const int on = 1;
    setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    deadline = now + kConnectTimeout;
}

void NtripClient::onConnected(Millis now) {
    int error = 0;
    socklen_t size = sizeof error;
    if (getsockopt(sock, SOL_SOCKET, SO_ERROR, &error, &size) != 0) error = errno;
    if (error != 0) {
        fail(error == ECONNREFUSED ? LinkProblem::kConnectionRefused
             : error == ETIMEDOUT  ? LinkProblem::kTimeout
                                   : LinkProblem::kDropped,
             now);
        return;
    }
    reply = NtripReply{};
    chunks.reset();
    frames.reset();
    tableText.clear();
    const std::string gga = position ? position() : std::string();
    const std::string request = ntripRequest(current, gga);
    toCaster.assign(request.begin(), request.end());
    lastData = now;
    setState(LinkState::kAwaitingReply);
    flushToCaster(now);
}

void NtripClient::flushToCaster(Millis now) {
    while (!toCaster.empty()) {
        const ssize_t n = ::send(sock, toCaster.data(), toCaster.size(), MSG_NOSIGNAL);
        if (n > 0) {
            toCaster.erase(toCaster.begin(), toCaster.begin() + n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
            fail(LinkProblem::kDropped, now);
            return;
        }
    }
}

void NtripClient::sendPosition(Millis now) {
    nextPosition = now + kGgaInterval;
    const std::string gga = position ? position() : std::string();
    if (gga.empty()) {
        // No fix yet: ask again soon rather than wait a whole interval.
        nextPosition = now + Millis(1000);
        return;
    }
    toCaster.insert(toCaster.end(), gga.begin(), gga.end());
    flushToCaster(now);
}

void NtripClient::onReadable(Millis now) {
    std::uint8_t buffer[4096];
    const ssize_t n = ::recv(sock, buffer, sizeof buffer, 0);
    if (n < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) return;
        fail(LinkProblem::kDropped, now);
        return;
    }
    const LinkState s = state.load();
    if (n == 0) {
        if (s == LinkState::kSourceTable) {
            onSourceTableText(nullptr, 0, true);
        } else {
            fail(s == LinkState::kAwaitingReply ? LinkProblem::kBadReply : LinkProblem::kDropped,
                 now);
        }
        return;
    }
    lastData = now;
    const auto count = std::size_t(n);
    if (s == LinkState::kStreaming) {
        onBody(buffer, count, now);
        return;
    }
    if (s == LinkState::kSourceTable) {
        onSourceTableText(buffer, count, false);
        return;
    }
    switch (reply.feed(buffer, count)) {
        case NtripReply::Kind::kIncomplete:
            return;
        case NtripReply::Kind::kData: {
            setState(LinkState::kStreaming);
            ++connections;
            problem = LinkProblem::kNone;
            streamStart = now;
            icyChecked = !reply.icy();
            icyStart.clear();
            // Every stream, the first or one after a drop, starts on our position, also when
            // the request carried it: many network casters read only the GGA in the stream,
            // and send nothing until it comes.
            sendPosition(now);
            const std::string body = reply.bodySoFar();
            if (sock >= 0 && !body.empty()) {
                onBody(reinterpret_cast<const std::uint8_t*>(body.data()), body.size(), now);
            }
            return;
        }
        case NtripReply::Kind::kSourceTable: {
            setState(LinkState::kSourceTable);
            const std::string body = reply.bodySoFar();
            onSourceTableText(reinterpret_cast<const std::uint8_t*>(body.data()), body.size(),
                              false);
            return;
        }
        case NtripReply::Kind::kUnauthorized:
            halt(LinkProblem::kBadLogin);
            return;
        case NtripReply::Kind::kNotFound:
            halt(LinkProblem::kUnknownMountpoint);
            return;
        case NtripReply::Kind::kRefused:
        case NtripReply::Kind::kMalformed:
            fail(LinkProblem::kBadReply, now);
            return;
    }
}

void NtripClient::onBody(const std::uint8_t* bytes, std::size_t length, Millis now) {
    const std::uint8_t* data = bytes;
    std::size_t size = length;
    if (!icyChecked) {
        icyStart.append(reinterpret_cast<const char*>(bytes), length);
        const std::size_t skip = NtripReply::icyHeaderLength(icyStart);
        if (skip == std::string::npos) return;
        icyChecked = true;
        icyStart.erase(0, skip);
        data = reinterpret_cast<const std::uint8_t*>(icyStart.data());
        size = icyStart.size();
    }
    if (reply.chunked()) {
        decoded.clear();
        const ChunkDecoder::Status status = chunks.feed(bytes, length, decoded);
        data = decoded.data();
        size = decoded.size();
        if (status == ChunkDecoder::Status::kBroken) {
            fail(LinkProblem::kBadReply, now);
            return;
        }
    }
    if (size == 0) return;
    if (frames.feed(data, size) > 0) lastGoodMs = now.count();
    goodFrames = frames.goodFrames();
    badFrames = frames.badFrames();
    toReceiver.insert(toReceiver.end(), data, data + size);
    flushToReceiver();
}

void NtripClient::flushToReceiver() {
    std::size_t sent = 0;
    while (sent < toReceiver.size()) {
        const std::int32_t n =
            writeToReceiver
                ? writeToReceiver(toReceiver.data() + sent, std::uint32_t(toReceiver.size() - sent))
                : -1;
        if (n <= 0) break;
        sent += std::size_t(n);
        bytesForwarded += std::uint64_t(n);
    }
    toReceiver.erase(toReceiver.begin(), toReceiver.begin() + std::ptrdiff_t(sent));
}

void NtripClient::onSourceTableText(const std::uint8_t* bytes, std::size_t length, bool ended) {
    // A table is text; a megabyte is far beyond the largest national caster's.
    constexpr std::size_t kMaxTable = 1 << 20;
    if (reply.chunked()) {
        decoded.clear();
        if (chunks.feed(bytes, length, decoded) == ChunkDecoder::Status::kEnd) ended = true;
        tableText.append(decoded.begin(), decoded.end());
    } else {
        tableText.append(reinterpret_cast<const char*>(bytes), length);
    }
    if (tableText.find("ENDSOURCETABLE") != std::string::npos || tableText.size() > kMaxTable) {
        ended = true;
    }
    if (!ended) return;
    std::vector<Mountpoint> parsed = parseSourceTable(tableText);
    {
        std::lock_guard<std::mutex> lock(tableLock);
        table = std::move(parsed);
    }
    halt(current.mountpoint.empty() ? LinkProblem::kNone : LinkProblem::kUnknownMountpoint);
}

void NtripClient::fail(LinkProblem what, Millis now) {
    if (state.load() == LinkState::kStreaming) backoff.connectionEnded(now - streamStart);
    closeSocket();
    problem = what;
    deadline = now + backoff.nextDelay();
    retryAtMs = deadline.count();
    setState(LinkState::kWaiting);
}

void NtripClient::halt(LinkProblem what) {
    closeSocket();
    problem = what;
    setState(LinkState::kHalted);
}
