// The library end to end: InitSatlinker on a pseudo-terminal, fixes on the reader thread,
// stopping, restarting, a missing port, and a receiver that is unplugged and comes back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>

#include "gpslink/SerialPort.h"
#include "gpslink/satlinker.h"
#include "tests/gpslink/FixRecorder.h"
#include "tests/gpslink/PseudoTerminal.h"

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

    // Quiet line: the reader sits in its 50 ms wait and must leave it at once.
    std::this_thread::sleep_for(200ms);
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(FinishSatlinker(), 1);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    std::printf("FinishSatlinker with no data flowing: %lld ms\n",
                static_cast<long long>(took.count()));
    EXPECT_LT(took, 1000ms) << "the stop must not wait for a read or a reconnection";
    EXPECT_EQ(threadsOfThisProcess(), threadsBefore) << "the reader is gone";

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
        EXPECT_EQ(threadsOfThisProcess(), threadsBefore) << "cycle " << cycle;
    }
    // A second start without a stop ends the first reader rather than leaking it.
    InitSatlinker(nullptr, recordFix, SATLINKERCONFIG{0, 9600});
    InitSatlinker(nullptr, recordFix, SATLINKERCONFIG{0, 9600});
    EXPECT_EQ(threadsOfThisProcess(), threadsBefore + 1);
    FinishSatlinker();
    FinishSatlinker();
    EXPECT_EQ(threadsOfThisProcess(), threadsBefore);
}

TEST_F(LinkTest, BurstIsReadInPiecesAndReassembled) {
    InitSatlinker(nullptr, recordFix, SATLINKERCONFIG{0, 115200});
    ASSERT_TRUE(sendUntilFixes(pty, 1, 5s));
    recorder().clear();
    // 40 sentences, 2.7 kB at once: eleven reads of at most 255 bytes, sentences cut across.
    std::string burst;
    for (int i = 0; i < 40; ++i) burst += kGga;
    pty.send(burst);
    const Clock::time_point end = Clock::now() + 5s;
    while (recorder().count() < 40 && Clock::now() < end) std::this_thread::sleep_for(20ms);
    EXPECT_EQ(recorder().count(), 40u);
}

TEST(LinkWithoutPort, MissingPortStartsButNeverCallsBack) {
    recorder().clear();
    const int threadsBefore = threadsOfThisProcess();
    setenv("SATLINKER_DEVICE", "/nonexistent/receiver", 1);
    EXPECT_EQ(InitSatlinker(nullptr, recordFix, SATLINKERCONFIG{0, 4800}), 1);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(threadsOfThisProcess(), threadsBefore) << "the reader ends at once";
    EXPECT_EQ(FinishSatlinker(), 1);
    unsetenv("SATLINKER_DEVICE");
    // The port number of a fresh install, -1, names no device.
    EXPECT_EQ(InitSatlinker(nullptr, recordFix, SATLINKERCONFIG{-1, 4800}), 1);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(FinishSatlinker(), 1);
    // A file that is not a terminal opens but refuses the line settings.
    setenv("SATLINKER_DEVICE", "/dev/null", 1);
    EXPECT_EQ(InitSatlinker(nullptr, recordFix, SATLINKERCONFIG{0, 4800}), 1);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(threadsOfThisProcess(), threadsBefore);
    EXPECT_EQ(FinishSatlinker(), 1);
    unsetenv("SATLINKER_DEVICE");
    EXPECT_EQ(recorder().count(), 0u);
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
