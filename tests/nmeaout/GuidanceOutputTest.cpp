// Guidance output read back as a lightbar would: a UDP listener on 127.0.0.1 and a serial
// device on a pseudo-terminal, each sentence checked for its checksum, magnitude and side.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "nmeaout/GuidanceOutput.h"
#include "nmeaout/OutputAddress.h"

namespace {

// Reads until both sentences of one fix are in, or a few seconds pass.
std::string readSentences(int fd, bool datagrams) {
    std::string text;
    for (int i = 0; i < 50 && text.find("$GPAPB") == std::string::npos; ++i) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        char buffer[512];
        const ssize_t n =
            datagrams ? ::recv(fd, buffer, sizeof buffer, 0) : ::read(fd, buffer, sizeof buffer);
        if (n > 0) text.append(buffer, std::size_t(n));
    }
    for (int i = 0; i < 10 && text.find("\r\n", text.find("$GPAPB")) == std::string::npos; ++i) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        char buffer[512];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) text.append(buffer, std::size_t(n));
    }
    return text;
}

struct Sentence {
    std::vector<std::string> fields;
};

// Splits "$BODY*hh\r\n" after checking the checksum independently of the sender.
std::vector<Sentence> parse(const std::string& text) {
    std::vector<Sentence> out;
    std::size_t at = 0;
    while ((at = text.find('$', at)) != std::string::npos) {
        const std::size_t star = text.find('*', at);
        const std::size_t end = text.find("\r\n", at);
        EXPECT_NE(star, std::string::npos);
        EXPECT_EQ(end, star + 3) << "two hex digits, then CR LF";
        if (star == std::string::npos || end == std::string::npos) break;
        unsigned sum = 0;
        for (std::size_t i = at + 1; i < star; ++i) sum ^= static_cast<unsigned char>(text[i]);
        EXPECT_EQ(std::strtoul(text.substr(star + 1, 2).c_str(), nullptr, 16), sum);
        Sentence s;
        std::stringstream body(text.substr(at + 1, star - at - 1));
        std::string field;
        while (std::getline(body, field, ',')) s.fields.push_back(field);
        if (text[star - 1] == ',') s.fields.push_back("");
        out.push_back(s);
        at = end;
    }
    return out;
}

// Crosstrack dm -> the magnitude and side each sentence must carry.
void expectFix(const std::string& text, double crossTrack, const char* miles, const char* side) {
    const std::vector<Sentence> sentences = parse(text);
    ASSERT_EQ(sentences.size(), 2u) << text;
    EXPECT_EQ(sentences[0].fields[0], "GPXTE");
    EXPECT_EQ(sentences[1].fields[0], "GPAPB");
    EXPECT_EQ(sentences[1].fields.size(), 15u) << text;
    for (const Sentence& s : sentences) {
        EXPECT_EQ(s.fields[1], "A");
        EXPECT_EQ(s.fields[2], "A");
        EXPECT_EQ(s.fields[3], miles) << crossTrack;
        EXPECT_EQ(s.fields[4], side) << crossTrack;
        EXPECT_EQ(s.fields[5], "N");
        // Five decimals of a nautical mile: within 1 cm of the metres sent.
        EXPECT_NEAR(std::stod(s.fields[3]) * 1852.0, std::fabs(crossTrack) * 0.1, 0.01);
    }
}

TEST(GuidanceOutput, UdpListenerReadsEachGuidedFix) {
    const int listener = ::socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_in here{};
    here.sin_family = AF_INET;
    here.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&here), sizeof here), 0);
    socklen_t length = sizeof here;
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&here), &length), 0);
    const std::string address = "udp://127.0.0.1:" + std::to_string(ntohs(here.sin_port));
    ASSERT_TRUE(startGuidanceOutput(address));
    // 0.3 m right of the line: steer left; 1.2345 m left: steer right.
    const struct {
        double crossTrack;
        const char* miles;
        const char* side;
    } rows[] = {{3.0, "0.00016", "L"}, {-12.345, "0.00067", "R"}, {1852.0, "0.10000", "L"}};
    for (const auto& row : rows) {
        publishGuidance(row.crossTrack);
        expectFix(readSentences(listener, true), row.crossTrack, row.miles, row.side);
    }
    stopGuidanceOutput();
    ::close(listener);
}

TEST(GuidanceOutput, SerialDeviceGetsTheSentencesAtItsSpeed) {
    int master = -1, slave = -1;
    char name[256] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    ASSERT_TRUE(startGuidanceOutput(std::string(name) + "?baud=38400"));
    publishGuidance(-0.5);
    expectFix(readSentences(master, false), -0.5, "0.00003", "R");
    stopGuidanceOutput();
    ::close(slave);
    ::close(master);
}

// The device's line is set to the address's speed, read back from the driver: the slowest and
// the fast lightbar rates, neither of them the speed a new pseudo-terminal starts at.
TEST(GuidanceOutput, SerialDeviceLineIsSetToTheAddressSpeed) {
    const struct {
        int baud;
        speed_t speed;
    } rows[] = {{460800, B460800}, {1200, B1200}, {921600, B921600}};
    for (const auto& row : rows) {
        int master = -1, slave = -1;
        char name[256] = {};
        ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
        termios before{};
        ASSERT_EQ(::tcgetattr(slave, &before), 0);
        ASSERT_NE(::cfgetospeed(&before), row.speed) << "the test would prove nothing";
        ASSERT_TRUE(startGuidanceOutput(std::string(name) + "?baud=" + std::to_string(row.baud)));
        publishGuidance(2.0);
        // The sentences arrive only once the sender has opened and set up the device.
        expectFix(readSentences(master, false), 2.0, "0.00011", "L");
        stopGuidanceOutput();
        termios line{};
        ASSERT_EQ(::tcgetattr(slave, &line), 0);
        EXPECT_EQ(::cfgetospeed(&line), row.speed) << row.baud;
        EXPECT_EQ(::cfgetispeed(&line), row.speed) << row.baud;
        ::close(slave);
        ::close(master);
    }
}

TEST(GuidanceOutput, AddressesThatAreNeitherFormAreRefused) {
    for (const char* bad :
         {"", "udp://", "udp://host", "udp://host:0", "udp://host:70000", "udp://:5000",
          "tcp://host:1", "ttyUSB0", "/dev/ttyUSB0?baud=fast", "/dev/ttyUSB0?speed=9600", "/"}) {
        EXPECT_FALSE(parseOutputAddress(bad)) << bad;
        EXPECT_FALSE(startGuidanceOutput(bad)) << bad;
    }
    const auto udp = parseOutputAddress("udp://[::1]:10110");
    ASSERT_TRUE(udp);
    EXPECT_EQ(udp->host, "::1");
    EXPECT_EQ(udp->port, 10110);
    const auto serial = parseOutputAddress("/dev/ttyUSB1?baud=115200");
    ASSERT_TRUE(serial);
    EXPECT_EQ(serial->device, "/dev/ttyUSB1");
    EXPECT_EQ(serial->baud, 115200);
    // Nothing started: publishing goes nowhere and costs nothing.
    publishGuidance(5.0);
}

}  // namespace
