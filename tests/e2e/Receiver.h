// Receivers for the program under test, each behind a link at a fixed path, so that the program
// is told one device and the receiver can be unplugged and plugged back at the same place.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "tests/support/NmeaFraming.h"

// gpssim driving back-and-forth passes over a field.
class SimulatedReceiver {
  public:
    explicit SimulatedReceiver(std::string link) : link_(std::move(link)) {}
    ~SimulatedReceiver() { unplug(); }
    SimulatedReceiver(const SimulatedReceiver&) = delete;
    SimulatedReceiver& operator=(const SimulatedReceiver&) = delete;

    // Starts gpssim with these options besides --link; true once it has its device.
    bool plugIn(const std::vector<std::string>& options);
    // Ends gpssim: its device and the link vanish.
    void unplug();
    const std::string& link() const { return link_; }

  private:
    std::string link_;
    pid_t pid_ = -1;
};

// A pseudo-terminal whose every byte the test writes itself.
class HandmadeReceiver {
  public:
    explicit HandmadeReceiver(std::string link) : link_(std::move(link)) {}
    ~HandmadeReceiver() { unplug(); }
    HandmadeReceiver(const HandmadeReceiver&) = delete;
    HandmadeReceiver& operator=(const HandmadeReceiver&) = delete;

    bool plugIn();
    void unplug();
    // Writes the bytes; a reader that has not opened the device yet loses them.
    void send(const std::string& bytes);
    const std::string& link() const { return link_; }

  private:
    std::string link_;
    int master_ = -1;
    int device_ = -1;
};

// A GGA sentence at the given metres north of a field corner near Munich, with this quality.
std::string ggaAt(double metresNorth, int quality, int satellites = 8, double hdop = 0.9);
// The RMC sentence of the same place, status A.
std::string rmcAt(double metresNorth, double knots = 10.0);
