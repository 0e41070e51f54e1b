// The caster's name resolved on a thread of its own. getaddrinfo cannot be interrupted: on the
// client's thread, a name server that does not answer (a cab out of mobile coverage) would hold
// whoever stops the client, the screen among them, for as long as the resolver waits. A lookup
// that is no longer wanted is left to finish by itself and frees its own result.
#pragma once

#include <netdb.h>

#include <functional>
#include <memory>
#include <string>

class NameLookup {
  public:
    // getaddrinfo's own signature: tests put a resolver of theirs in its place.
    using Resolver = std::function<int(const char* host, const char* service, const addrinfo* hints,
                                       addrinfo** found)>;

    NameLookup() = default;
    ~NameLookup() { abandon(); }
    NameLookup(const NameLookup&) = delete;
    NameLookup& operator=(const NameLookup&) = delete;

    // Starts resolving host and port for a TCP stream; a lookup still under way is abandoned.
    void start(const std::string& host, const std::string& port, const Resolver& resolver);
    bool pending() const { return shared_ != nullptr; }
    // Becomes readable when the result is there.
    int fd() const;
    // The result, once fd() was readable: getaddrinfo's return code, and the addresses (freed by
    // the caller with freeaddrinfo) or null. The lookup is no longer pending.
    addrinfo* take(int& rc);
    // Forgets the lookup; its thread ends whenever the resolver returns.
    void abandon() { shared_.reset(); }

  private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};
