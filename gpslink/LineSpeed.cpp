// Kept apart from the termios code: the kernel's termios2 header cannot share a translation
// unit with the C library's <termios.h>.
#include "gpslink/LineSpeed.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>
#include <cerrno>

int setLineSpeed(int fd, std::uint32_t baudRate) {
    struct termios2 line {};
    if (ioctl(fd, TCGETS2, &line) != 0) return errno;
    line.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
    line.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    line.c_ispeed = baudRate;
    line.c_ospeed = baudRate;
    if (ioctl(fd, TCSETS2, &line) != 0) return errno;
    return 0;
}

std::uint32_t lineSpeed(int fd) {
    struct termios2 line {};
    if (ioctl(fd, TCGETS2, &line) != 0) return 0;
    return line.c_ospeed;
}
