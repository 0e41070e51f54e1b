// An open place that an output thread writes to: a UDP socket with its destination, or a serial
// device set to the address's speed. Shared by the guidance output and the section output, so
// that both open, write and give up on a place in the same way.
#pragma once

#include <sys/socket.h>

#include <cstddef>

#include "nmeaout/OutputAddress.h"

class OutputPort {
  public:
    // udpSourcePort: the local port the UDP socket sends from (0: any the system picks). A port
    // that is taken is no failure: the socket then sends from one the system picks.
    explicit OutputPort(OutputAddress address, int udpSourcePort = 0);
    ~OutputPort();
    OutputPort(const OutputPort&) = delete;
    OutputPort& operator=(const OutputPort&) = delete;

    // Opens the place if it is not open; false when it cannot be opened now. Resolving a host
    // name may take a while, so only the output's own thread calls it.
    bool open();
    // One datagram on UDP; the bytes appended to the line on a serial device. Never waits: a
    // full buffer drops what did not fit, a device that went away is closed to be opened again.
    void send(const void* data, std::size_t size);
    void close();

  private:
    bool openUdp();
    bool openSerial();

    OutputAddress address_;
    int udpSourcePort_ = 0;
    int fd_ = -1;
    sockaddr_storage peer_{};
    socklen_t peerLength_ = 0;
};
