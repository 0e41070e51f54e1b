// The program's start and stop of the receiver link, against a stand-in for the library that
// records what it is asked.
#include "app/GpsControl.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "app/AppState.h"
#include "gpslink/satlinker.h"

namespace {

struct Call {
    std::string name;
    SATLINKERCONFIG config{};
    GpsFixCallback callback = nullptr;
    std::string device;
};
std::vector<Call> calls;

}  // namespace

// The program's own definitions win over the shared library's.
extern "C" int InitSatlinker(void*, GpsFixCallback callback, SATLINKERCONFIG config) {
    const char* device = std::getenv("SATLINKER_DEVICE");
    calls.push_back({"init", config, callback, device ? device : ""});
    return 1;
}
extern "C" int FinishSatlinker(void) {
    calls.push_back({"finish", {}, nullptr, ""});
    return 1;
}

namespace {

class GpsControlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        calls.clear();
        appState.ui.gpsRunning = 0;
        appState.settings.gpsPort = 3;
        appState.settings.gpsBaudIndex = 0;
    }
};

TEST_F(GpsControlTest, BaudIndexTableWithFallback) {
    struct Case {
        int index;
        std::uint32_t baud;
    };
    for (const Case c : {Case{0, 4800}, Case{1, 9600}, Case{2, 14400}, Case{3, 19200},
                         Case{4, 38400}, Case{5, 56000}, Case{6, 57600}, Case{7, 115200},
                         Case{8, 128000}, Case{9, 256000}, Case{10, 4800}, Case{255, 4800}}) {
        calls.clear();
        appState.settings.gpsBaudIndex = static_cast<std::uint8_t>(c.index);
        setGpsEnabled(1);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].config.baudRate, c.baud) << "index " << c.index;
        setGpsEnabled(0);
    }
}

TEST_F(GpsControlTest, StartPassesThePortWithItsSignAndClearsTheOrigin) {
    appState.settings.gpsPort = -1;  // a fresh install: no port chosen yet
    appState.work.plane.originSet = 1;
    setGpsEnabled(1);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].config.portNumber, -1);
    EXPECT_NE(calls[0].callback, nullptr);
    EXPECT_EQ(appState.work.plane.originSet, 0);
    EXPECT_EQ(isGpsRunning(), 1);
}

TEST_F(GpsControlTest, StartStopStartAndNoFixAfterTheStop) {
    setGpsEnabled(1);
    appState.fix.fixQuality = 1;
    setGpsEnabled(0);
    EXPECT_EQ(isGpsRunning(), 0);
    EXPECT_EQ(appState.fix.fixQuality, 0) << "the screens show no fix once stopped";
    setGpsEnabled(1);
    EXPECT_EQ(isGpsRunning(), 1);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].name, "init");
    EXPECT_EQ(calls[1].name, "finish");
    EXPECT_EQ(calls[2].name, "init");
    setGpsEnabled(0);
}

TEST_F(GpsControlTest, DeviceOverrideReachesTheLibrary) {
    setGpsDeviceOverride("/tmp/gpssim-receiver");
    setGpsEnabled(1);
    setGpsEnabled(0);
    setGpsDeviceOverride("");
    setGpsEnabled(1);
    setGpsEnabled(0);
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].device, "/tmp/gpssim-receiver");
    EXPECT_EQ(calls[2].device, "");
}

TEST_F(GpsControlTest, GpsdChosenOnGpsSetupIsOpenedUnlessTheCommandLineNamesADevice) {
    appState.settings.gpsPort = kGpsdPort;
    setGpsEnabled(1);
    setGpsEnabled(0);
    setGpsDeviceOverride("/dev/ttyUSB7");
    setGpsEnabled(1);
    setGpsEnabled(0);
    setGpsDeviceOverride("");
    appState.settings.gpsPort = 0;
    setGpsEnabled(1);
    setGpsEnabled(0);
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_EQ(calls[0].device, "gpsd://localhost:2947");
    EXPECT_EQ(calls[2].device, "/dev/ttyUSB7");
    EXPECT_EQ(calls[4].device, "") << "the numbered port";
}

// "No data" is a receiver the link has heard nothing from for three seconds, whatever the fix.
TEST_F(GpsControlTest, SilentReceiverIsToldApartFromNoFix) {
    EXPECT_FALSE(receiverSilent()) << "no link, no silence";
    setGpsEnabled(1);
    ASSERT_EQ(calls.size(), 1u);
    const GpsFixCallback callback = calls[0].callback;
    ASSERT_NE(callback, nullptr);
    EXPECT_FALSE(receiverSilent()) << "just started";
    std::this_thread::sleep_for(std::chrono::milliseconds(kSilentSeconds * 1000 + 200));
    EXPECT_TRUE(receiverSilent()) << "nothing came since the start";
    GPS_POSITION noFix{};  // a GGA without a fix still says the receiver talks
    callback(noFix);
    EXPECT_FALSE(receiverSilent());
    std::this_thread::sleep_for(std::chrono::milliseconds(kSilentSeconds * 1000 + 200));
    EXPECT_TRUE(receiverSilent());
    setGpsEnabled(0);
    EXPECT_FALSE(receiverSilent()) << "a stopped link is not a silent receiver";
}

}  // namespace
