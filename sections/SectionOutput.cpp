// The fix path only copies a small state under a mutex that the sender holds for no longer than
// the copy; opening, resolving and writing happen on the sender's thread. A place that cannot be
// opened is tried again a second later, so a board plugged in late is found.
#include "sections/SectionOutput.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "nmeaout/OutputAddress.h"
#include "nmeaout/OutputPort.h"

namespace {

// The boards switch everything off after about two seconds without a message; ten a second
// keeps them on through a lost datagram or two.
constexpr auto kRepeat = std::chrono::milliseconds(100);

struct Sender {
    std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;
    bool pending = false;
    SectionState state;
    std::atomic<bool> running{false};
    std::thread thread;
};

Sender sender;

// UDP: one frame a datagram, as the network boards read a PGN from a datagram's first bytes.
// Serial: the frames back to back in one write.
void sendState(OutputPort& port, const SectionState& state, bool udp) {
    const std::array<std::uint8_t, 14> data = machineDataFrame(state);
    if (!needsSectionsFrame(state)) {
        port.send(data.data(), data.size());
        return;
    }
    const std::array<std::uint8_t, 16> sections = sectionsFrame(state);
    if (udp) {
        port.send(data.data(), data.size());
        port.send(sections.data(), sections.size());
        return;
    }
    std::array<std::uint8_t, data.size() + sections.size()> both{};
    std::memcpy(both.data(), data.data(), data.size());
    std::memcpy(both.data() + data.size(), sections.data(), sections.size());
    port.send(both.data(), both.size());
}

void run(OutputAddress address) {
    const bool udp = address.udp;
    OutputPort port(std::move(address), kGuidanceProgramPort);
    std::optional<SectionState> last;
    auto nextTry = std::chrono::steady_clock::now();
    auto nextRepeat = nextTry;
    std::unique_lock lock(sender.mutex);
    while (true) {
        const auto due = [] { return sender.stopping || sender.pending; };
        if (last)
            sender.wake.wait_until(lock, nextRepeat, due);
        else
            sender.wake.wait(lock, due);
        if (sender.stopping) break;
        if (sender.pending) last = sender.state;
        sender.pending = false;
        const SectionState state = *last;
        lock.unlock();
        const auto now = std::chrono::steady_clock::now();
        nextRepeat = now + kRepeat;
        if (now >= nextTry) {
            if (port.open())
                sendState(port, state, udp);
            else
                nextTry = now + std::chrono::seconds(1);
        }
        lock.lock();
    }
    lock.unlock();
    if (last && last->sectionsOn != 0 && port.open()) {
        SectionState off = *last;
        off.sectionsOn = 0;
        sendState(port, off, udp);
    }
}

}  // namespace

bool startSectionOutput(const std::string& address) {
    stopSectionOutput();
    std::optional<OutputAddress> parsed = parseOutputAddress(address, kMachineModuleBaud);
    if (!parsed) {
        if (!address.empty())
            std::fprintf(stderr, "section output \"%s\" is not udp://HOST:PORT or a device path\n",
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

void stopSectionOutput() {
    if (!sender.thread.joinable()) return;
    sender.running = false;
    {
        std::lock_guard lock(sender.mutex);
        sender.stopping = true;
    }
    sender.wake.notify_one();
    sender.thread.join();
}

void publishSections(const SectionState& state) {
    if (!sender.running.load(std::memory_order_acquire)) return;
    {
        std::lock_guard lock(sender.mutex);
        sender.state = state;
        sender.pending = true;
    }
    sender.wake.notify_one();
}
