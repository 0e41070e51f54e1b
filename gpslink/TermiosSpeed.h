// The line speeds that have a termios constant of their own, from 1200 to 921600 bit/s: the
// one table for the receiver's port and for the guidance output's serial device. Header only,
// so that the program's own serial code uses it without reaching into the library's hidden
// internals.
#pragma once

#include <termios.h>

#include <cstdint>

// B0 for a rate without a constant (14400, 56000, 128000, 256000 and the like); the receiver's
// port sets those through the arbitrary-rate interface instead.
inline speed_t termiosSpeed(std::uint32_t baudRate) {
    switch (baudRate) {
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        case 230400:
            return B230400;
        case 460800:
            return B460800;
        case 921600:
            return B921600;
        default:
            return B0;
    }
}
