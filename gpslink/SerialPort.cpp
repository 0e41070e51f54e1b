#include "gpslink/SerialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "gpslink/LineSpeed.h"
#include "gpslink/TermiosSpeed.h"

bool deviceHasGone(std::int32_t error) {
    return error == EIO || error == ENXIO || error == ENODEV || error == SerialPort::kNotOpen;
}

SerialPort::~SerialPort() {
    close();
}

std::int32_t SerialPort::open(const char* device, std::uint32_t, std::uint32_t, bool) {
    lastError = 0;
    if (handle >= 0) return lastError = kAlreadyOpen;
    // Non-blocking from the start so that a line without carrier cannot hold the open.
    const int fd = ::open(device, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return lastError = errno;
    handle = fd;
    // Nobody else may open the receiver while we read it (root excepted, as the kernel has it).
    ioctl(handle, TIOCEXCL);
    if (setEventMask(kEventReceivedChar | kEventReceivedFlag) != 0) return lastError;
    return setReadMode(kNonBlocking);
}

std::int32_t SerialPort::close() {
    lastError = 0;
    if (handle >= 0) {
        // The exclusive claim outlives us while someone else holds the device open (gpssim keeps
        // its own end of the pseudo-terminal), and would lock the next open out.
        ioctl(handle, TIOCNXCL);
        ::close(handle);
        handle = -1;
    }
    return lastError;
}

std::int32_t SerialPort::configureLine(std::uint32_t baudRate, int dataBits, int parity,
                                       int stopBits) {
    lastError = 0;
    if (handle < 0) return lastError = kNotOpen;
    tcflag_t size = 0;
    switch (dataBits) {
        case 5:
            size = CS5;
            break;
        case 6:
            size = CS6;
            break;
        case 7:
            size = CS7;
            break;
        case 8:
            size = CS8;
            break;
        default:
            return lastError = kInvalidArgument;
    }
    static constexpr tcflag_t kParityBits[] = {0, PARENB | PARODD, PARENB, PARENB | PARODD | CMSPAR,
                                               PARENB | CMSPAR};
    if (parity < 0 || parity > 4 || (stopBits != 0 && stopBits != 2) || baudRate == 0) {
        return lastError = kInvalidArgument;
    }
    termios line{};
    if (tcgetattr(handle, &line) != 0) return lastError = errno;
    // Raw bytes in and out; the software flow-control bits (IXON, IXOFF) and CRTSCTS stay.
    line.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | INPCK);
    if (parity != 0) line.c_iflag |= INPCK;
    line.c_oflag &= ~OPOST;
    line.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    line.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
    line.c_cflag |= size | kParityBits[parity] | (stopBits == 2 ? CSTOPB : 0) | CREAD | CLOCAL;
    // One byte satisfies a read; with O_NONBLOCK an empty queue then reads as EAGAIN and a
    // hang-up as end of file, which tells the two apart.
    line.c_cc[VMIN] = 1;
    line.c_cc[VTIME] = 0;
    // The rates with a constant of their own; the others go through the arbitrary-rate interface.
    const speed_t constant = termiosSpeed(baudRate);
    if (constant != B0) {
        cfsetispeed(&line, constant);
        cfsetospeed(&line, constant);
    }
    if (tcsetattr(handle, TCSANOW, &line) != 0) return lastError = errno;
    if (constant == B0) lastError = setLineSpeed(handle, baudRate);
    return lastError;
}

std::int32_t SerialPort::setEventMask(std::uint32_t mask) {
    lastError = 0;
    if (handle < 0) return lastError = kNotOpen;
    // A tty has no event mask to set: the reader polls, so the mask is only remembered.
    eventMask = mask;
    return lastError;
}

std::int32_t SerialPort::setReadMode(int mode) {
    lastError = 0;
    if (handle < 0) return lastError = kNotOpen;
    if (mode != kNonBlocking && mode != kBlocking) return lastError = kInvalidArgument;
    const int flags = fcntl(handle, F_GETFL);
    if (flags < 0) return lastError = errno;
    const int wanted = mode == kNonBlocking ? flags | O_NONBLOCK : flags & ~O_NONBLOCK;
    if (fcntl(handle, F_SETFL, wanted) != 0) return lastError = errno;
    return lastError;
}

std::uint32_t SerialPort::baudRate() {
    lastError = 0;
    if (handle < 0) {
        lastError = kNotOpen;
        return 0;
    }
    return lineSpeed(handle);
}

std::int32_t SerialPort::purge() {
    lastError = 0;
    if (handle < 0) return lastError = kNotOpen;
    if (tcflush(handle, TCIOFLUSH) != 0) lastError = errno;
    return lastError;
}

std::int32_t SerialPort::read(void* buffer, std::uint32_t length, std::uint32_t* count) {
    lastError = 0;
    if (count != nullptr) *count = 0;
    if (handle < 0) return lastError = kNotOpen;
    if (buffer == nullptr || count == nullptr) return lastError = kInvalidArgument;
    if (length == 0) return lastError;
    const ssize_t n = ::read(handle, buffer, length);
    if (n > 0) {
        *count = static_cast<std::uint32_t>(n);
    } else if (n == 0) {
        lastError = EIO;
    } else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
        lastError = errno;
    }
    return lastError;
}

std::int32_t SerialPort::write(const void* buffer, std::uint32_t length, std::uint32_t* count,
                               int waitMilliseconds) {
    if (count != nullptr) *count = 0;
    if (handle < 0) return kNotOpen;
    if (buffer == nullptr || count == nullptr) return kInvalidArgument;
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    while (*count < length) {
        const ssize_t n = ::write(handle, bytes + *count, length - *count);
        if (n > 0) {
            *count += static_cast<std::uint32_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return errno;
        pollfd writable{handle, POLLOUT, 0};
        const int ready = ::poll(&writable, 1, waitMilliseconds);
        if (ready <= 0 || (writable.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) break;
    }
    return 0;
}
