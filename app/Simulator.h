// The receiver simulator for --simulate: gpssim, started beside the program, serves a
// pseudo-terminal that the receiver library then opens as its device.
#pragma once

#include <memory>
#include <string>

class QProcess;

class Simulator {
  public:
    Simulator();
    ~Simulator();  // stops gpssim
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Starts gpssim and waits (up to 5 s) for the path of its device; false when it fails.
    bool start();
    const std::string& devicePath() const { return device_; }

  private:
    std::unique_ptr<QProcess> process_;
    std::string device_;
};
