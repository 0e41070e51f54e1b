// The command line: our options, Qt's options passing through, and one-line errors.
#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace {

struct Case {
    std::vector<std::string> args;
    bool ok;
    const char* errorPart;  // for a failure: what the message must mention
};

TEST(CommandLine, AcceptsOursAndQtsRejectsTheRest) {
    const Case cases[] = {
        {{}, true, ""},
        {{"--size", "240x320", "--orientation", "1"}, true, ""},
        {{"-platform", "offscreen"}, true, ""},
        {{"-platform", "vnc:size=480x640", "--language", "de"}, true, ""},
        {{"--gps-device", "/dev/pts/3"}, true, ""},
        {{"--ntrip", "ntrip://u:p@caster.example:2102/MOUNT"}, true, ""},
        {{"--ntrip", "caster.example/MOUNT"}, false, "--ntrip"},
        {{"--ntrip", "ntrip://caster.example"}, false, "mountpoint"},
        {{"--ntrip"}, false, "needs a value"},
        {{"--kml", "a.shp", "b.shp"}, true, ""},
        {{"--import-nmea", "log.nmea", "--save", "w.shp", "--width", "6.5"}, true, ""},
        {{"--bogus"}, false, "--bogus"},
        {{"--size", "240"}, false, "--size"},
        {{"--size", "x320"}, false, "--size"},
        {{"--size"}, false, "needs a value"},
        {{"--orientation", "5"}, false, "--orientation"},
        {{"--language", "fr"}, false, "--language"},
        {{"--kml"}, false, "--kml"},
        {{"--import-nmea", "log.nmea"}, false, "--save"},
        {{"--save", "w.shp"}, false, "--import-nmea"},
        {{"--width", "0", "--import-nmea", "l", "--save", "s"}, false, "--width"},
        {{"stray"}, false, "stray"},
    };
    for (const Case& c : cases) {
        CommandLine line;
        std::string error;
        bool ok = parseCommandLine(c.args, line, error);
        std::string joined;
        for (auto& a : c.args) joined += a + " ";
        EXPECT_EQ(ok, c.ok) << joined << error;
        if (!c.ok) {
            EXPECT_NE(error.find(c.errorPart), std::string::npos) << joined << error;
            EXPECT_EQ(error.find('\n'), std::string::npos) << "one line: " << error;
        }
    }
}

TEST(CommandLine, Values) {
    CommandLine line;
    std::string error;
    ASSERT_TRUE(parseCommandLine(
        {"--size", "800x480", "--orientation", "3", "--language", "ru", "--gps-device",
         "/dev/ttyUSB0", "--simulate", "--ntrip", "ntrip://127.0.0.1/BASE"},
        line, error));
    EXPECT_EQ(line.width, 800);
    EXPECT_EQ(line.height, 480);
    EXPECT_EQ(line.orientation, 3);
    EXPECT_EQ(line.language, "ru");
    EXPECT_EQ(line.gpsDevice, "/dev/ttyUSB0");
    EXPECT_TRUE(line.simulate);
    EXPECT_EQ(line.ntrip, "ntrip://127.0.0.1/BASE");

    CommandLine import;
    ASSERT_TRUE(parseCommandLine({"--import-nmea", "l.nmea", "--save", "w.shp", "--width", "12"},
                                 import, error));
    EXPECT_EQ(import.importNmea, "l.nmea");
    EXPECT_EQ(import.savePath, "w.shp");
    EXPECT_DOUBLE_EQ(*import.implementWidthMetres, 12.0);
}

}  // namespace
