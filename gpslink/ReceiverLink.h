// One start/stop cycle of the receiver: the reader thread that owns the connection to the
// receiver (a serial line or a gpsd socket) and the parser. It sleeps in poll() on the
// connection and the stop event together and reads whatever has arrived, so a fix reaches the
// callback as soon as its sentence's last byte does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "gpslink/NmeaParser.h"
#include "gpslink/SerialPort.h"
#include "gpslink/StopEvent.h"
#include "gpslink/satlinker.h"

struct LinkSettings {
    std::int32_t portNumber = 0;
    std::uint32_t baudRate = 4800;
    // Opened instead of the numbered port when not empty: a device path, or gpsd://HOST[:PORT].
    std::string device;
    GpsFixCallback callback = nullptr;
    // Where the numbered-port rule finds the serial devices and their UARTs.
    std::string devDir = "/dev";
    std::string sysClassTty = "/sys/class/tty";
};

class ReceiverLink {
  public:
    // A receiver that is missing or went away is looked for again after this long.
    static constexpr int kRetryMilliseconds = 1000;
    // A gpsd that does not answer a connection within this long is tried again later.
    static constexpr int kConnectTimeoutMilliseconds = 3000;
    // One read takes what the driver holds, up to this much (a 921600 bit/s line brings 4 KB in
    // 45 ms; the next poll returns at once for the rest).
    static constexpr std::size_t kReadSize = 4096;

    ReceiverLink() = default;
    ReceiverLink(const ReceiverLink&) = delete;
    ReceiverLink& operator=(const ReceiverLink&) = delete;
    ~ReceiverLink();

    // Starts the reader and returns at once; a reader still running from before is stopped
    // first. Whether the port opens is the reader's business: it keeps trying.
    void start(const LinkSettings& settings);
    // Wakes the reader, waits until it has left its loop, closes the connection.
    void stop();

    // Sends bytes to the receiver on its serial line, from any thread (corrections): waits at
    // most about 100 ms for room in the port's queue, never discards what it took. The count
    // written, or -1 when no serial receiver is open (none yet, gone, or gpsd).
    std::int32_t write(const void* bytes, std::uint32_t length);

    // The device the reader holds on to: after a hang-up it reopens this one and no other.
    // Empty while a numbered port has not found its device yet.
    std::string heldDevice() const;

    // The stored sentence values live across cycles; only the reader touches them while it runs.
    const NmeaParser& parser() const { return nmeaParser; }

  private:
    void run();
    // Opens the serial line or connects to gpsd; false when there is nothing to open yet.
    bool connect();
    void disconnect();
    bool connected() const;
    int connectionFd() const;
    std::string deviceToOpen() const;
    bool openSerial(const std::string& device);

    LinkSettings settings;
    NmeaParser nmeaParser;
    StopEvent stopEvent;
    std::thread reader;

    // The one owner of the connection. The reader opens and closes it under the lock, and reads
    // it without (nobody else closes it); writers from other threads take the lock.
    mutable std::mutex connectionMutex;
    SerialPort port;
    int gpsdSocket = -1;
    std::string held;
};

// The library's one link.
ReceiverLink& receiverLink();
