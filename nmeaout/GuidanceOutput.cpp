// The fix callback only swaps a number under a mutex that the sender holds for no longer than
// the swap; opening, resolving and writing happen on the sender's thread. A place that cannot
// be opened is tried again a second later, so a lightbar plugged in late is found.
#include "nmeaout/GuidanceOutput.h"

#include <fcntl.h>
#include <netdb.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>

#include "gpslink/TermiosSpeed.h"
#include "nmeaout/GuidanceSentences.h"
#include "nmeaout/OutputAddress.h"

namespace {

struct Sender {
    std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;
    bool pending = false;
    double crossTrack = 0.0;
    std::atomic<bool> running{false};
    std::thread thread;
};

Sender sender;

// An open place to write to: a UDP socket with its destination, or a serial device.
class Destination {
  public:
    explicit Destination(OutputAddress address) : address_(std::move(address)) {}
    ~Destination() { close(); }
    Destination(const Destination&) = delete;
    Destination& operator=(const Destination&) = delete;

    bool open() {
        if (fd_ >= 0) return true;
        return address_.udp ? openUdp() : openSerial();
    }
    void send(const std::string& text) {
        ssize_t written = address_.udp
                              ? ::sendto(fd_, text.data(), text.size(), MSG_NOSIGNAL,
                                         reinterpret_cast<const sockaddr*>(&peer_), peerLength_)
                              : ::write(fd_, text.data(), text.size());
        // A device that went away is opened again; a full buffer only drops this fix.
        if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != ECONNREFUSED)
            close();
    }
    void close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

  private:
    bool openUdp() {
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
        }
        ::freeaddrinfo(found);
        return fd_ >= 0;
    }
    bool openSerial() {
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

    OutputAddress address_;
    int fd_ = -1;
    sockaddr_storage peer_{};
    socklen_t peerLength_ = 0;
};

void run(OutputAddress address) {
    Destination destination(std::move(address));
    auto nextTry = std::chrono::steady_clock::now();
    std::unique_lock lock(sender.mutex);
    while (true) {
        sender.wake.wait(lock, [] { return sender.stopping || sender.pending; });
        if (sender.stopping) break;
        const double crossTrack = sender.crossTrack;
        sender.pending = false;
        lock.unlock();
        const auto now = std::chrono::steady_clock::now();
        if (now >= nextTry) {
            if (destination.open()) {
                destination.send(xteSentence(crossTrack) + apbSentence(crossTrack));
            } else {
                nextTry = now + std::chrono::seconds(1);
            }
        }
        lock.lock();
    }
}

}  // namespace

bool startGuidanceOutput(const std::string& address) {
    stopGuidanceOutput();
    std::optional<OutputAddress> parsed = parseOutputAddress(address);
    if (!parsed) {
        if (!address.empty())
            std::fprintf(stderr,
                         "sulcovane.conf: guidance output \"%s\" is not udp://HOST:PORT "
                         "or a device path\n",
                         address.c_str());
        return false;
    }
    {
        std::lock_guard lock(sender.mutex);
        sender.stopping = false;
        sender.pending = false;
    }
    sender.thread = std::thread(run, std::move(*parsed));
    sender.running = true;
    return true;
}

void stopGuidanceOutput() {
    if (!sender.thread.joinable()) return;
    sender.running = false;
    {
        std::lock_guard lock(sender.mutex);
        sender.stopping = true;
    }
    sender.wake.notify_one();
    sender.thread.join();
}

void publishGuidance(double crossTrack) {
    if (!sender.running.load(std::memory_order_acquire)) return;
    {
        std::lock_guard lock(sender.mutex);
        sender.crossTrack = crossTrack;
        sender.pending = true;
    }
    sender.wake.notify_one();
}
