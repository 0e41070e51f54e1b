#include "gpslink/PortNames.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

// A fake /dev and /sys/class/tty with the nodes given.
class PortNamesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("portnames-" + std::to_string(getpid()));
        fs::create_directories(root / "dev");
        fs::create_directories(root / "sys");
    }
    void TearDown() override { fs::remove_all(root); }
    void node(const std::string& name) { std::ofstream(root / "dev" / name) << ""; }
    void uart(const std::string& name, int type) {
        fs::create_directories(root / "sys" / name);
        std::ofstream(root / "sys" / name / "type") << type << "\n";
    }
    std::string dev() const { return (root / "dev").string(); }
    std::string sys() const { return (root / "sys").string(); }

    fs::path root;
};

TEST_F(PortNamesTest, UsbFirstThenBoardLinesInNaturalOrder) {
    for (const char* n : {"ttyS1", "ttyS0", "ttyS10", "ttyS2", "ttyUSB10", "ttyUSB2", "ttyACM0",
                          "ttyAMA0", "tty1", "ttyprintk", "ttyUSB", "console", "ttyS3x"}) {
        node(n);
    }
    uart("ttyS0", 4);
    uart("ttyS1", 0);  // no UART behind it
    uart("ttyS2", 4);
    const std::vector<std::string> expected = {"ttyACM0", "ttyUSB2", "ttyUSB10", "ttyAMA0",
                                               "ttyS0",   "ttyS2",   "ttyS10"};
    const std::vector<std::string> devices = portnames::serialDevices(dev(), sys());
    ASSERT_EQ(devices.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(devices[i], dev() + "/" + expected[i]);
        EXPECT_EQ(portnames::deviceForPort(static_cast<int>(i), dev(), sys()), devices[i]);
    }
    EXPECT_EQ(portnames::deviceForPortName("COM0:", dev(), sys()), dev() + "/ttyACM0");
    EXPECT_EQ(portnames::deviceForPortName("COM6:", dev(), sys()), dev() + "/ttyS10");
}

TEST_F(PortNamesTest, NamesThatOpenNothing) {
    node("ttyUSB0");
    for (const char* name : {"COM1:", "COM-1:", "COM:", "COM0", "com0:", "COMx:", "COM0:x"}) {
        EXPECT_EQ(portnames::deviceForPortName(name, dev(), sys()), "") << name;
    }
    EXPECT_EQ(portnames::deviceForPort(-1, dev(), sys()), "");
    EXPECT_EQ(portnames::deviceForPort(0, (root / "missing").string(), sys()), "");
}

}  // namespace
