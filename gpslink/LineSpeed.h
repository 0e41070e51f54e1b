// Line speeds through the kernel's arbitrary-rate interface, which also takes the rates that
// have no Bnnn constant (14400, 56000, 128000, 256000).
#pragma once

#include <cstdint>

// Sets input and output speed of the tty; 0 or the errno of the failing call.
int setLineSpeed(int fd, std::uint32_t baudRate);
// The output speed the driver reports; 0 when it cannot be read.
std::uint32_t lineSpeed(int fd);
