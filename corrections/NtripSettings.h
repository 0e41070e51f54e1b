// Where the corrections come from: the [corrections] section of sulcovane.conf, or --ntrip.
#pragma once

#include <string>

struct NtripSettings {
    bool on = false;
    std::string caster;
    int port = 2101;
    std::string mountpoint;  // empty: fetch the source table only
    std::string user;
    std::string password;
    int version = 2;  // NTRIP 1 (HTTP/1.0, ICY reply) or 2 (HTTP/1.1, chunked)

    bool operator==(const NtripSettings&) const = default;
};
