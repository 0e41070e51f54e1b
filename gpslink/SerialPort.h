// The receiver's serial line: open, 8N1 set-up at the configured speed, non-blocking reads.
//
// Every operation clears lastError, fails with kNotOpen when the port is closed (open aside)
// and returns lastError: 0 on success, one of the codes below, or the errno of the failing
// system call. (errno 6, ENXIO, reads like kNotOpen; both mean that nothing can be read.)
#pragma once

#include <cstdint>

class SerialPort {
  public:
    static constexpr std::int32_t kNotOpen = 6;
    static constexpr std::int32_t kAlreadyOpen = 1247;
    static constexpr std::int32_t kInvalidArgument = static_cast<std::int32_t>(0x80070057u);

    // Communication events the reader asks for: a byte arrived, the event character arrived.
    static constexpr std::uint32_t kEventReceivedChar = 1;
    static constexpr std::uint32_t kEventReceivedFlag = 2;

    static constexpr int kNonBlocking = 0;
    static constexpr int kBlocking = 1;

    // parity: 0 none, 1 odd, 2 even, 3 mark, 4 space. stopBits: 0 one, 2 two (1.5 is refused).
    static constexpr int kNoParity = 0;
    static constexpr int kOneStopBit = 0;

    SerialPort() = default;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;
    virtual ~SerialPort();

    // Opens the device exclusively. Queue sizes and the overlapped flag have no meaning for a
    // Linux tty and are accepted as given. Ends with setEventMask and setReadMode(kNonBlocking).
    virtual std::int32_t open(const char* device, std::uint32_t inputQueue,
                              std::uint32_t outputQueue, bool overlapped);
    virtual std::int32_t close();
    // Raw line, no echo or line editing; flow control as the driver has it.
    virtual std::int32_t configureLine(std::uint32_t baudRate, int dataBits, int parity,
                                       int stopBits);
    virtual std::int32_t setEventMask(std::uint32_t mask);
    virtual std::int32_t setReadMode(int mode);
    // The speed the line is set to, read back from the driver; 0 when it cannot be read.
    virtual std::uint32_t baudRate();
    // Sets count to the bytes read. Nothing queued is success with a count of 0. A device that
    // hung up (unplugged, or the far side of a pseudo-terminal closed) gives EIO.
    virtual std::int32_t read(void* buffer, std::uint32_t length, std::uint32_t* count);
    // Writes what the line takes within waitMilliseconds, waiting while its output queue is
    // full; count is what went out (less than length when the queue stayed full). Unlike the
    // others it leaves lastError alone and returns its error, so that it can run on another
    // thread beside the reader's read (its caller keeps open and close away meanwhile).
    std::int32_t write(const void* buffer, std::uint32_t length, std::uint32_t* count,
                       int waitMilliseconds);
    // Discards what is queued in both directions.
    std::int32_t purge();

    bool isOpen() const { return handle >= 0; }
    // The descriptor, for poll() and writes; -1 when closed.
    int descriptor() const { return handle; }
    std::uint32_t eventMaskValue() const { return eventMask; }

    std::int32_t lastError = 0;

  private:
    int handle = -1;  // file descriptor; -1 when closed (0 is a valid descriptor here)
    std::uint32_t eventMask = 0;
};

// True when a read error means the device has gone away and must be opened again.
bool deviceHasGone(std::int32_t error);
