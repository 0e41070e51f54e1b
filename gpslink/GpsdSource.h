// A gpsd daemon as the receiver: "gpsd://HOST[:PORT]" names it, and the daemon, asked to pass
// its receiver's NMEA through, gives a byte stream the parser reads like a serial line's.
#pragma once

#include <string>

namespace gpsd {

inline constexpr const char* kScheme = "gpsd://";
inline constexpr const char* kDefaultHost = "localhost";
inline constexpr const char* kDefaultPort = "2947";
// The request that turns on the daemon's NMEA pass-through for this connection.
inline constexpr const char* kWatchRequest = "?WATCH={\"enable\":true,\"nmea\":true}\n";

struct Address {
    std::string host;
    std::string port;
};

// True when `name` is a gpsd address; fills `address`, with the defaults for what it leaves out
// ("gpsd://" alone is localhost:2947; "[::1]:2948" takes brackets round an IPv6 host).
bool parseAddress(const std::string& name, Address& address);

// Connects, sends the watch request and returns the non-blocking socket, or -1. Gives up when
// `stopFd` becomes readable (leaving it signalled) or after `timeoutMs`.
int connect(const Address& address, int stopFd, int timeoutMs);

}  // namespace gpsd
