// The fix callback only swaps a number under a mutex that the sender holds for no longer than
// the swap; opening, resolving and writing happen on the sender's thread. A place that cannot
// be opened is tried again a second later, so a lightbar plugged in late is found.
#include "nmeaout/GuidanceOutput.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "nmeaout/GuidanceSentences.h"
#include "nmeaout/OutputAddress.h"
#include "nmeaout/OutputPort.h"

namespace {

struct Sender {
    std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;
    bool pending = false;
    double crossTrack = 0.0;
    std::atomic<bool> running{false};
    std::thread thread;
};

Sender sender;

void run(OutputAddress address) {
    OutputPort destination(std::move(address));
    auto nextTry = std::chrono::steady_clock::now();
    std::unique_lock lock(sender.mutex);
    while (true) {
        sender.wake.wait(lock, [] { return sender.stopping || sender.pending; });
        if (sender.stopping) break;
        const double crossTrack = sender.crossTrack;
        sender.pending = false;
        lock.unlock();
        const auto now = std::chrono::steady_clock::now();
        if (now >= nextTry) {
            if (destination.open()) {
                const std::string text = xteSentence(crossTrack) + apbSentence(crossTrack);
                destination.send(text.data(), text.size());
            } else {
                nextTry = now + std::chrono::seconds(1);
            }
        }
        lock.lock();
    }
}

}  // namespace

bool startGuidanceOutput(const std::string& address) {
    stopGuidanceOutput();
    std::optional<OutputAddress> parsed = parseOutputAddress(address);
    if (!parsed) {
        if (!address.empty())
            std::fprintf(stderr,
                         "sulcovane.conf: guidance output \"%s\" is not udp://HOST:PORT "
                         "or a device path\n",
                         address.c_str());
        return false;
    }
    {
        std::lock_guard lock(sender.mutex);
        sender.stopping = false;
        sender.pending = false;
    }
    sender.thread = std::thread(run, std::move(*parsed));
    sender.running = true;
    return true;
}

void stopGuidanceOutput() {
    if (!sender.thread.joinable()) return;
    sender.running = false;
    {
        std::lock_guard lock(sender.mutex);
        sender.stopping = true;
    }
    sender.wake.notify_one();
    sender.thread.join();
}

void publishGuidance(double crossTrack) {
    if (!sender.running.load(std::memory_order_acquire)) return;
    {
        std::lock_guard lock(sender.mutex);
        sender.crossTrack = crossTrack;
        sender.pending = true;
    }
    sender.wake.notify_one();
}
