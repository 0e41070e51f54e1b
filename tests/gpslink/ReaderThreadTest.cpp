// The library end to end: InitSatlinker on a pseudo-terminal, fixes on the reader thread,
// stopping, restarting, a fast stream, a receiver that comes later or is unplugged and comes
// back, and bytes written to it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>

#include "gpslink/ReceiverLink.h"
#include "gpslink/SerialPort.h"
#include "gpslink/satlinker.h"
#include "tests/gpslink/FixRecorder.h"
#include "tests/gpslink/PseudoTerminal.h"
#include "tests/support/NmeaFraming.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

const char* const kGga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";

std::mutex threadMutex;
std::thread::id callbackThread;

void recordFixAndThread(GPS_POSITION position) {
    {
        std::lock_guard<std::mutex> lock(threadMutex);
        callbackThread = std::this_thread::get_id();
    }
    recordFix(position);
}

// Keeps sending one sentence every 20 ms until `count` fixes have arrived or the time is up:
// whatever was sent before the reader opened the port is purged by it.
bool sendUntilFixes(const PseudoTerminal& pty, std::size_t count, Clock::duration limit) {
    const Clock::time_point end = Clock::now() + limit;
    while (recorder().count() < count && Clock::now() < end) {
        pty.send(kGga);
        std::this_thread::sleep_for(20ms);
    }
    return recorder().count() >= count;
}

int threadsOfThisProcess() {
    // A thread sanitizer starts a helper thread of its own with the first thread created.
    static const bool warmedUp = [] {
        std::thread([] {}).join();
        std::this_thread::sleep_for(20ms);
        return true;
    }();
    (void)warmedUp;
    int n = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/task")) ++n;
    return n;
}

// The thread count once it has come down to `expected`, or after a second. A joined thread has
// finished, but the kernel may list its task for a moment longer.
int threadsSettlingAt(int expected) {
    const Clock::time_point end = Clock::now() + 1s;
    int n = threadsOfThisProcess();
    while (n > expected && Clock::now() < end) {
        std::this_thread::sleep_for(5ms);
        n = threadsOfThisProcess();
    }
    return n;
}

class LinkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        recorder().clear();
        ASSERT_TRUE(pty.ok());
        setenv("SATLINKER_DEVICE", pty.devicePath().c_str(), 1);
    }
    void TearDown() override {
        FinishSatlinker();
        unsetenv("SATLINKER_DEVICE");
    }
    PseudoTerminal pty;
};

TEST_F(LinkTest, FixesArriveOnTheReaderThreadAndStopPromptly) {
    const int threadsBefore = threadsOfThisProcess();
    EXPECT_EQ(InitSatlinker(nullptr, recordFixAndThread, SATLINKERCONFIG{0, 4800}), 1);
    ASSERT_TRUE(sendUntilFixes(pty, 1, 5s));
    {
        std::lock_guard<std::mutex> lock(threadMutex);
        EXPECT_NE(callbackThread, std::this_thread::get_id());
    }
    EXPECT_EQ(recorder().lineAt(0), "12:35:19 48.1173000 11.5166667 1 8 0.90 0.00\n");

    // Quiet line: the reader sleeps in its poll and must leave it at once.
    std::this_thread::sleep_for(200ms);
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(FinishSatlinker(), 1);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    std::printf("FinishSatlinker with no data flowing: %lld ms\n",
                static_cast<long long>(took.count()));
    EXPECT_LT(took, 1000ms) << "the stop must not wait for a read or a reconnection";
    EXPECT_EQ(threadsSettlingAt(threadsBefore), threadsBefore) << "the reader is gone";

    const std::size_t fixes = recorder().count();
    pty.send(kGga);
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(recorder().count(), fixes) << "no callback after the stop";
}

TEST_F(LinkTest, StartStopStartLeavesNoThreadBehind) {
    const int threadsBefore = threadsOfThisProcess();
    for (int cycle = 0; cycle < 3; ++cycle) {
        recorder().clear();
        InitSatlinker(nullptr, recordFix, SATLINKERCONFIG{0, 9600});
        ASSERT_TRUE(sendUntilFixes(pty, 1, 5s)) << "cycle " << cycle;
        FinishSatlinker();
        EXPECT_EQ(threadsSettlingAt(threadsBefore), threadsBefore) << "cycle " << cycle;
    }
    // A second start without a stop ends the first reader rather than leaking it.
    InitSatlinker(nullptr, recordFix, SATLINKERCONFIG{0, 9600});
    InitSatlinker(nullptr, recordFix, SATLINKERCONFIG{0, 9600});
    EXPECT_EQ(threadsSettlingAt(threadsBefore + 1), threadsBefore + 1);
    FinishSatlinker();
    FinishSatlinker();
    EXPECT_EQ(threadsSettlingAt(threadsBefore), threadsBefore);
}

// A 20 Hz receiver on a 921600 bit/s line, sending 2.8 kB an epoch (55 kB a second): far more
// than a reader that takes a few hundred bytes per pass can drain. The pseudo-terminal queues
// about 68 kB and drops what does not fit, as a receiver's line would: a slow reader loses
// fixes here, whatever it is given time to catch up.
TEST_F(LinkTest, FastStreamIsReadWithoutLoss) {
    InitSatlinker(nullptr, recordFix, SATLINKERCONFIG{0, 921600});
    ASSERT_TRUE(sendUntilFixes(pty, 1, 5s));
    std::this_thread::sleep_for(50ms);
    recorder().clear();
    std::string padding;
    for (int i = 0; i < 38; ++i) {
        padding += "$GPGSV,4,1,16,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*7A\r\n";
    }
    constexpr int kEpochs = 40;
    Clock::time_point next = Clock::now();
    for (int epoch = 0; epoch < kEpochs; ++epoch) {
        char gga[96];
        std::snprintf(gga, sizeof gga,
                      "GPGGA,1235%02d.%02d,4807.038,N,01131.000,E,1,08,0.9,,M,,M,,", epoch / 20,
                      epoch % 20 * 5);
        pty.send(nmeatest::sentence(gga) + padding);
        next += 50ms;
        std::this_thread::sleep_until(next);
    }
    const Clock::time_point end = Clock::now() + 5s;
    while (recorder().count() < kEpochs && Clock::now() < end) std::this_thread::sleep_for(20ms);
    ASSERT_EQ(recorder().count(), std::size_t(kEpochs)) << "every epoch's fix arrives";
    EXPECT_EQ(recorder().lineAt(kEpochs - 1).substr(0, 8), "12:35:01");
}

// A receiver plugged in after the start is found: the link keeps looking for it.
TEST(LinkLater, ReceiverAppearingAfterTheStartIsFound) {
    recorder().clear();
    const fs::path link = fs::temp_directory_path() / ("late-receiver-" + std::to_string(getpid()));
    fs::remove(link);
    setenv("SATLINKER_DEVICE", link.c_str(), 1);
    EXPECT_EQ(InitSatlinker(nullptr, recordFix, SATLINKERCONFIG{0, 4800}), 1);
    std::this_thread::sleep_for(300ms);
    PseudoTerminal pty;
    ASSERT_TRUE(pty.ok());
    fs::create_symlink(pty.devicePath(), link);
    EXPECT_TRUE(sendUntilFixes(pty, 1, 5s)) << "the receiver that came later is read";
    EXPECT_EQ(FinishSatlinker(), 1);
    unsetenv("SATLINKER_DEVICE");
    fs::remove(link);

    // A file that is not a terminal opens but refuses the line settings: never read, and the
    // link that keeps trying still stops at once.
    setenv("SATLINKER_DEVICE", "/dev/null", 1);
    EXPECT_EQ(InitSatlinker(nullptr, recordFix, SATLINKERCONFIG{0, 4800}), 1);
    std::this_thread::sleep_for(100ms);
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(FinishSatlinker(), 1);
    EXPECT_LT(Clock::now() - start, 1000ms);
    unsetenv("SATLINKER_DEVICE");
}

// Tractors shake USB plugs loose: the device disappears and returns under the same name.
TEST(LinkReconnect, ReceiverUnpluggedAndBackResumesFixes) {
    recorder().clear();
    const fs::path link = fs::temp_directory_path() / ("receiver-" + std::to_string(getpid()));
    fs::remove(link);
    auto first = std::make_unique<PseudoTerminal>();
    ASSERT_TRUE(first->ok());
    fs::create_symlink(first->devicePath(), link);
    setenv("SATLINKER_DEVICE", link.c_str(), 1);
    InitSatlinker(nullptr, recordFix, SATLINKERCONFIG{0, 4800});
    ASSERT_TRUE(sendUntilFixes(*first, 1, 5s));

    first->close();
    fs::remove(link);
    std::this_thread::sleep_for(1500ms);  // the reader looks for it again and again
    auto second = std::make_unique<PseudoTerminal>();
    ASSERT_TRUE(second->ok());
    fs::create_symlink(second->devicePath(), link);
    const std::size_t before = recorder().count();
    EXPECT_TRUE(sendUntilFixes(*second, before + 1, 5s)) << "fixes resume";

    const Clock::time_point start = Clock::now();
    FinishSatlinker();
    EXPECT_LT(Clock::now() - start, 1000ms);
    unsetenv("SATLINKER_DEVICE");
    fs::remove(link);
}

// A numbered port with another serial line present (a board's ttyS0 after the USB receiver in
// the port order). Unplugged, COM0 would name that other line: the link must not take it, and
// must take the receiver back when it returns, here under a new ttyACM number but the same
// /dev/serial/by-id name, as udev gives it.
TEST(LinkReconnect, NumberedPortReopensOnlyItsOwnDevice) {
    recorder().clear();
    const fs::path top = fs::temp_directory_path() / ("ports-" + std::to_string(getpid()));
    fs::remove_all(top);
    const fs::path dev = top / "dev";
    const fs::path byId = dev / "serial/by-id";
    fs::create_directories(byId);
    fs::create_directories(top / "sys");
    auto receiver = std::make_unique<PseudoTerminal>();
    PseudoTerminal otherLine;
    ASSERT_TRUE(receiver->ok() && otherLine.ok());
    fs::create_symlink(receiver->devicePath(), dev / "ttyACM0");
    fs::create_symlink(otherLine.devicePath(), dev / "ttyS0");
    const fs::path stable = byId / "usb-u-blox_GNSS_receiver-if00";
    fs::create_symlink("../../ttyACM0", stable);

    ReceiverLink link;
    LinkSettings settings;
    settings.portNumber = 0;
    settings.baudRate = 9600;
    settings.callback = recordFix;
    settings.devDir = dev.string();
    settings.sysClassTty = (top / "sys").string();
    link.start(settings);
    ASSERT_TRUE(sendUntilFixes(*receiver, 1, 5s));
    EXPECT_EQ(link.heldDevice(), stable.string());

    // Unplugged: the device and its by-id name go. The other line talks meanwhile.
    receiver->close();
    fs::remove(dev / "ttyACM0");
    fs::remove(stable);
    const std::size_t before = recorder().count();
    for (int i = 0; i < 50; ++i) {
        otherLine.send(kGga);
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_EQ(recorder().count(), before) << "the other serial line is not the receiver";

    auto replugged = std::make_unique<PseudoTerminal>();
    ASSERT_TRUE(replugged->ok());
    fs::create_symlink(replugged->devicePath(), dev / "ttyACM1");
    fs::create_symlink("../../ttyACM1", stable);
    EXPECT_TRUE(sendUntilFixes(*replugged, before + 1, 5s)) << "the receiver is read again";
    link.stop();
    fs::remove_all(top);
}

// GPS Setup's OK starts the link again on the port chosen: from then on only that one is read.
TEST(LinkReconnect, PortChosenAgainTakesEffectAtOnce) {
    recorder().clear();
    const fs::path dev = fs::temp_directory_path() / ("ports-again-" + std::to_string(getpid()));
    fs::remove_all(dev);
    fs::create_directories(dev);
    PseudoTerminal first, second;
    ASSERT_TRUE(first.ok() && second.ok());
    fs::create_symlink(first.devicePath(), dev / "ttyUSB0");
    fs::create_symlink(second.devicePath(), dev / "ttyUSB1");
    ReceiverLink link;
    LinkSettings settings;
    settings.portNumber = 0;
    settings.callback = recordFix;
    settings.devDir = dev.string();
    settings.sysClassTty = (dev / "none").string();
    link.start(settings);
    ASSERT_TRUE(sendUntilFixes(first, 1, 5s));
    EXPECT_EQ(link.heldDevice(), (dev / "ttyUSB0").string()) << "no by-id name: the device's own";

    settings.portNumber = 1;
    settings.baudRate = 115200;
    link.start(settings);
    const std::size_t before = recorder().count();
    EXPECT_TRUE(sendUntilFixes(second, before + 1, 5s));
    const std::size_t after = recorder().count();
    for (int i = 0; i < 5; ++i) {
        first.send(kGga);
        std::this_thread::sleep_for(20ms);
    }
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(recorder().count(), after) << "the port left is no longer read";
    link.stop();
    fs::remove_all(dev);
}

// The open receiver takes bytes from other threads (corrections for an RTK receiver).
TEST_F(LinkTest, BytesWrittenReachTheReceiver) {
    ReceiverLink link;
    LinkSettings settings;
    settings.device = pty.devicePath();
    settings.callback = recordFix;
    EXPECT_EQ(link.write("x", 1), -1) << "nothing open yet";
    link.start(settings);
    ASSERT_TRUE(sendUntilFixes(pty, 1, 5s));
    // What the line echoed before the link set it up is not ours to compare.
    pty.receive(1 << 16, 200ms);
    const std::string rtcm = "\xD3\x00\x04\x4C\xE0\x00\x80";
    EXPECT_EQ(link.write(rtcm.data(), std::uint32_t(rtcm.size())), std::int32_t(rtcm.size()));
    EXPECT_EQ(pty.receive(rtcm.size(), 2s), rtcm);
    link.stop();
    EXPECT_EQ(link.write("x", 1), -1) << "nothing open after the stop";
}

// Every speed of the GPS set-up page's table, including those without a Bnnn constant.
TEST(SerialPortLine, EveryTableSpeedIsAccepted) {
    PseudoTerminal pty;
    ASSERT_TRUE(pty.ok());
    SerialPort port;
    ASSERT_EQ(port.open(pty.devicePath().c_str(), 0, 0, false), 0);
    for (std::uint32_t baud :
         {4800u, 9600u, 14400u, 19200u, 38400u, 56000u, 57600u, 115200u, 128000u, 256000u}) {
        EXPECT_EQ(port.configureLine(baud, 8, SerialPort::kNoParity, SerialPort::kOneStopBit), 0)
            << baud;
        EXPECT_EQ(port.baudRate(), baud);
    }
    EXPECT_EQ(port.eventMaskValue(), 3u);
    EXPECT_EQ(port.open(pty.devicePath().c_str(), 0, 0, false), SerialPort::kAlreadyOpen);
    EXPECT_EQ(port.setReadMode(2), SerialPort::kInvalidArgument);
    EXPECT_EQ(port.configureLine(4800, 9, 0, 0), SerialPort::kInvalidArgument);
    std::uint8_t buffer[16];
    std::uint32_t count = 99;
    EXPECT_EQ(port.read(buffer, sizeof buffer, &count), 0) << "nothing queued is no error";
    EXPECT_EQ(count, 0u);
    pty.close();
    EXPECT_TRUE(deviceHasGone(port.read(buffer, sizeof buffer, &count)));
    port.close();
    EXPECT_EQ(port.read(buffer, sizeof buffer, &count), SerialPort::kNotOpen);
    EXPECT_EQ(port.purge(), SerialPort::kNotOpen);
    EXPECT_EQ(port.configureLine(4800, 8, 0, 0), SerialPort::kNotOpen);
    EXPECT_EQ(port.open("/nonexistent/tty", 0, 0, false), ENOENT);
}

}  // namespace
