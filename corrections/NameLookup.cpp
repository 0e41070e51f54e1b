#include "corrections/NameLookup.h"

#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

// Owned by the client and by the lookup's thread together: whichever lets go last frees it.
struct NameLookup::Shared {
    Shared() : fd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
    ~Shared() {
        if (found) freeaddrinfo(found);
        if (fd >= 0) ::close(fd);
    }
    void finish(int code, addrinfo* addresses) {
        std::lock_guard lock(mutex);
        rc = code;
        found = addresses;
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(fd, &one, sizeof one);
    }

    std::mutex mutex;
    int fd;
    int rc = EAI_AGAIN;
    addrinfo* found = nullptr;
};

void NameLookup::start(const std::string& host, const std::string& port, const Resolver& resolver) {
    shared_ = std::make_shared<Shared>();
    try {
        std::thread([shared = shared_, host, port, resolver] {
            pthread_setname_np(pthread_self(), "ntrip-lookup");
            addrinfo hints{};
            hints.ai_family = AF_UNSPEC;
            hints.ai_socktype = SOCK_STREAM;
            addrinfo* found = nullptr;
            const int rc = resolver(host.c_str(), port.c_str(), &hints, &found);
            shared->finish(rc, rc == 0 ? found : nullptr);
        }).detach();
    } catch (const std::system_error&) {
        // No thread to be had: the lookup fails as a resolver that is not ready would, and the
        // client tries again after its back-off.
        shared_->finish(EAI_AGAIN, nullptr);
    }
}

int NameLookup::fd() const {
    return shared_ ? shared_->fd : -1;
}

addrinfo* NameLookup::take(int& rc) {
    if (!shared_) {
        rc = EAI_AGAIN;
        return nullptr;
    }
    addrinfo* found = nullptr;
    {
        std::lock_guard lock(shared_->mutex);
        rc = shared_->rc;
        found = std::exchange(shared_->found, nullptr);
    }
    shared_.reset();
    return found;
}
