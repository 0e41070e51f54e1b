#include "nmeaout/OutputPort.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

#include "gpslink/TermiosSpeed.h"

OutputPort::OutputPort(OutputAddress address, int udpSourcePort)
    : address_(std::move(address)), udpSourcePort_(udpSourcePort) {}

OutputPort::~OutputPort() {
    close();
}

bool OutputPort::open() {
    if (fd_ >= 0) return true;
    return address_.udp ? openUdp() : openSerial();
}

void OutputPort::send(const void* data, std::size_t size) {
    if (fd_ < 0) return;
    const ssize_t written = address_.udp
                                ? ::sendto(fd_, data, size, MSG_NOSIGNAL,
                                           reinterpret_cast<const sockaddr*>(&peer_), peerLength_)
                                : ::write(fd_, data, size);
    // A device that went away is opened again; a full buffer only drops these bytes.
    if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != ECONNREFUSED) close();
}

void OutputPort::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool OutputPort::openUdp() {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    const std::string port = std::to_string(address_.port);
    if (::getaddrinfo(address_.host.c_str(), port.c_str(), &hints, &found) != 0 || !found)
        return false;
    fd_ = ::socket(found->ai_family, found->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                   found->ai_protocol);
    if (fd_ >= 0) {
        std::memcpy(&peer_, found->ai_addr, found->ai_addrlen);
        peerLength_ = found->ai_addrlen;
        if (udpSourcePort_ > 0) {
            sockaddr_storage local{};
            socklen_t localLength = 0;
            if (found->ai_family == AF_INET) {
                auto* in = reinterpret_cast<sockaddr_in*>(&local);
                in->sin_family = AF_INET;
                in->sin_port = htons(std::uint16_t(udpSourcePort_));
                localLength = sizeof(sockaddr_in);
            } else if (found->ai_family == AF_INET6) {
                auto* in6 = reinterpret_cast<sockaddr_in6*>(&local);
                in6->sin6_family = AF_INET6;
                in6->sin6_port = htons(std::uint16_t(udpSourcePort_));
                localLength = sizeof(sockaddr_in6);
            }
            if (localLength > 0)
                (void)::bind(fd_, reinterpret_cast<const sockaddr*>(&local), localLength);
        }
    }
    ::freeaddrinfo(found);
    return fd_ >= 0;
}

bool OutputPort::openSerial() {
    // Only rates with a termios constant: the device is set up through termios alone.
    const speed_t speed = termiosSpeed(std::uint32_t(address_.baud));
    if (speed == B0) return false;
    fd_ = ::open(address_.device.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return false;
    termios tio{};
    if (::tcgetattr(fd_, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, speed);
        ::cfsetospeed(&tio, speed);
        ::tcsetattr(fd_, TCSANOW, &tio);
    }
    return true;
}
