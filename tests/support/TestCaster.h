// A caster for what str2str cannot be made to do: it listens on 127.0.0.1, takes one client at
// a time, reads its request and hands the connection to the test's script.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

class TestCaster {
  public:
    // The script gets the connected socket and the request; it returns when the connection is
    // to end (the caster then closes it).
    using Script = std::function<void(TestCaster&, int fd, const std::string& request)>;

    explicit TestCaster(Script s) : script(std::move(s)) {
        listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int on = 1;
        setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener, 4);
        socklen_t size = sizeof address;
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
        port = ntohs(address.sin_port);
        thread = std::thread([this] { serve(); });
    }
    ~TestCaster() {
        stopping = true;
        thread.join();
        ::close(listener);
    }

    int port = 0;
    std::atomic<int> connections{0};
    std::atomic<bool> stopping{false};

    std::string lastRequest() {
        std::lock_guard<std::mutex> lock(mutex);
        return request;
    }
    std::string received() {
        std::lock_guard<std::mutex> lock(mutex);
        return afterRequest;
    }

    // Script helpers.
    static void send(int fd, const std::string& bytes) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (n <= 0) return;
            done += std::size_t(n);
        }
    }
    // Reads what the client sends (its GGA) for up to `wait`; false when the client closed.
    bool receive(int fd, std::chrono::milliseconds wait) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, int(wait.count())) <= 0) return true;
        char buffer[1024];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) return false;
        std::lock_guard<std::mutex> lock(mutex);
        afterRequest.append(buffer, std::size_t(n));
        return true;
    }
    // Holds the connection open, reading, until the client closes or the test ends.
    void holdOpen(int fd) {
        while (!stopping && receive(fd, std::chrono::milliseconds(50))) {
        }
    }

  private:
    void serve() {
        while (!stopping) {
            pollfd p{listener, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            const int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) continue;
            std::string text;
            char buffer[1024];
            while (text.find("\r\n\r\n") == std::string::npos && !stopping) {
                pollfd c{fd, POLLIN, 0};
                if (::poll(&c, 1, 50) <= 0) continue;
                const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
                if (n <= 0) break;
                text.append(buffer, std::size_t(n));
            }
            const std::size_t end = text.find("\r\n\r\n");
            {
                std::lock_guard<std::mutex> lock(mutex);
                request = text.substr(0, end == std::string::npos ? text.size() : end + 4);
                afterRequest = end == std::string::npos ? "" : text.substr(end + 4);
            }
            ++connections;
            if (end != std::string::npos) script(*this, fd, request);
            ::close(fd);
        }
    }

    Script script;
    int listener = -1;
    std::thread thread;
    std::mutex mutex;
    std::string request;
    std::string afterRequest;
};
