#include "gpslink/GpsdSource.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace gpsd {

bool parseAddress(const std::string& name, Address& address) {
    const std::size_t schemeLength = std::strlen(kScheme);
    if (name.compare(0, schemeLength, kScheme) != 0) return false;
    std::string rest = name.substr(schemeLength);
    if (!rest.empty() && rest.back() == '/') rest.pop_back();
    address.host = kDefaultHost;
    address.port = kDefaultPort;
    std::string portText;
    if (!rest.empty() && rest.front() == '[') {
        const std::size_t close = rest.find(']');
        if (close == std::string::npos) return false;
        address.host = rest.substr(1, close - 1);
        const std::string after = rest.substr(close + 1);
        if (!after.empty()) {
            if (after.front() != ':') return false;
            portText = after.substr(1);
        }
    } else {
        const std::size_t colon = rest.rfind(':');
        if (colon == std::string::npos) {
            if (!rest.empty()) address.host = rest;
        } else {
            if (colon > 0) address.host = rest.substr(0, colon);
            portText = rest.substr(colon + 1);
        }
    }
    if (address.host.empty()) return false;
    if (!portText.empty()) {
        if (portText.size() > 5 || portText.find_first_not_of("0123456789") != std::string::npos) {
            return false;
        }
        const long port = std::strtol(portText.c_str(), nullptr, 10);
        if (port < 1 || port > 65535) return false;
        address.port = portText;
    }
    return true;
}

namespace {

using Clock = std::chrono::steady_clock;

// Waits until the socket is writable (connected or failed); false on stop or timeout.
bool waitConnected(int socketFd, int stopFd, Clock::time_point deadline) {
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        pollfd fds[2] = {{socketFd, POLLOUT, 0}, {stopFd, POLLIN, 0}};
        const int n = ::poll(fds, 2, static_cast<int>(left.count()));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0 || fds[1].revents != 0) return false;
        int error = 0;
        socklen_t length = sizeof error;
        return getsockopt(socketFd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
    }
}

}  // namespace

int connect(const Address& address, int stopFd, int timeoutMs) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (getaddrinfo(address.host.c_str(), address.port.c_str(), &hints, &found) != 0) return -1;
    int socketFd = -1;
    for (addrinfo* a = found; a != nullptr && socketFd < 0; a = a->ai_next) {
        socketFd =
            ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (socketFd < 0) continue;
        const bool connected = ::connect(socketFd, a->ai_addr, a->ai_addrlen) == 0 ||
                               (errno == EINPROGRESS && waitConnected(socketFd, stopFd, deadline));
        if (!connected) {
            ::close(socketFd);
            socketFd = -1;
        }
    }
    freeaddrinfo(found);
    if (socketFd < 0) return -1;
    // A few dozen bytes into an empty socket buffer: sent at once or not at all.
    const std::size_t length = std::strlen(kWatchRequest);
    if (::send(socketFd, kWatchRequest, length, MSG_NOSIGNAL) != static_cast<ssize_t>(length)) {
        ::close(socketFd);
        return -1;
    }
    return socketFd;
}

}  // namespace gpsd
