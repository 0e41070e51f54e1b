// One start/stop cycle of the receiver: the reader thread that owns the serial port and the
// parser, reading every 50 ms until it is told to stop.
#pragma once

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
    std::string device;  // opened instead of the numbered port when not empty
    GpsFixCallback callback = nullptr;
};

class ReceiverLink {
  public:
    // The reader waits this long on the stop event before each read.
    static constexpr int kPollMilliseconds = 50;
    // At most this much is taken from the driver per pass, so one pass never starves the stop.
    static constexpr std::uint32_t kReadLimit = 255;
    // A receiver that went away is looked for again after this many passes (about a second).
    static constexpr int kReopenPasses = 20;

    ReceiverLink() = default;
    ReceiverLink(const ReceiverLink&) = delete;
    ReceiverLink& operator=(const ReceiverLink&) = delete;
    ~ReceiverLink();

    // Starts the reader and returns at once; a reader still running from before is stopped
    // first. Whether the port opens is the reader's business.
    void start(const LinkSettings& settings);
    // Wakes the reader, waits until it has left its loop, closes the port.
    void stop();

    // Writes to the receiver from any thread (corrections); see SatlinkerWrite.
    std::int32_t write(const void* bytes, std::uint32_t length);

    // The stored sentence values live across cycles; only the reader touches them while it runs.
    const NmeaParser& parser() const { return nmeaParser; }

  private:
    void run();
    // Opens and sets up the line; on failure closes what it opened.
    bool openPort();
    std::string deviceName() const;

    LinkSettings settings;
    SerialPort port;
    // Held by writers while they use the port, and by the reader while it opens or closes it.
    std::mutex portLock;
    NmeaParser nmeaParser;
    StopEvent stopEvent;
    std::thread reader;
};

// The library's one link.
ReceiverLink& receiverLink();
