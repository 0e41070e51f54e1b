// The request that opens a stream (or, without a mountpoint, asks for the source table).
#pragma once

#include <cstdint>
#include <string>

#include "corrections/NtripSettings.h"

// NTRIP 1.0 asks with HTTP/1.0; NTRIP 2.0 with HTTP/1.1, a Host and "Ntrip-Version: Ntrip/2.0",
// and may carry the position (Ntrip-GGA) so a network mountpoint can start at once. Basic
// authentication when a user is set.
std::string ntripRequest(const NtripSettings& settings, const std::string& gga);

std::string base64(const std::string& bytes);
