// The command line's way of naming a caster.
#pragma once

#include <string>

#include "corrections/NtripSettings.h"

// ntrip://[USER[:PASSWORD]@]HOST[:PORT]/MOUNTPOINT; percent escapes in user and password are
// decoded. Fills caster, port, mountpoint, user and password and sets on; false with a message
// naming what is wrong.
bool parseNtripUrl(const std::string& url, NtripSettings& settings, std::string& error);
