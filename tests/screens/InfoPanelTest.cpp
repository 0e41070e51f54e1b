// The information panel: its two lines, their row on each screen, and numbers that read the
// same under any locale.
#include <chrono>
#include <clocale>
#include <string>
#include <thread>

#include "FrameText.h"
#include "ScreenFixture.h"
#include "app/GpsControl.h"
#include "app/InfoPanel.h"
#include "gfx/Rasterizer.h"

namespace screens_test {
namespace {

// A surface read like a frame.
struct SurfaceImage {
    explicit SurfaceImage(const gfx::Surface& s)
        : surface(s), width(s.width()), height(s.height()) {}
    gfx::Pixel at(int x, int y) const { return surface.pixel(x, y); }
    const gfx::Surface& surface;
    int width;
    int height;
};

class InfoPanelTest : public ScreenTest {
  protected:
    void SetUp() override {
        ScreenTest::SetUp();
        AppState& s = appState;
        s.work.workedArea = 123456.0;  // dm^2
        s.work.groundArea = 123456.0;
        s.work.distance = 35000;  // dm
        s.fix.speedKnots = 10.0f;
        s.fix.satellitesUsed = 7;
        s.fix.hdop = 0.9f;
        s.settings.textColor = 0x0000FF00;  // green
    }
    std::vector<DrawnLine> panel() {
        gfx::Surface* surface = solidImage(appState.layout.screenWidth, 320, 0xFFFF);
        {
            gfx::Rasterizer target(surface);
            drawInfoPanel(target);
        }
        auto lines =
            drawnLines(SurfaceImage(*surface), gfx::pixelFromColorRef(appState.settings.textColor));
        gfx::DestroySurface(surface);
        return lines;
    }
};

TEST_F(InfoPanelTest, RowsDependOnScreenAndRotationAndWrapAsAByte) {
    struct Case {
        std::uint32_t orientation;
        std::uint8_t state;
        std::uint16_t height;
        std::uint8_t barHeight, textMargin;
        int row;
    };
    const Case cases[] = {
        {0, kStateFreeWork, 320, 27, 2, 2},
        {0, kStateGuidance, 320, 27, 2, 61},  // under the steering bar
        {0, kStateSettingAB, 640, 54, 4, 90},
        {1, kStateGuidance, 320, 27, 2, 32},  // rotated: 320 + 224 wraps to 32
        {3, kStateSettingAB, 240, 27, 2, 208},
        {1, kStateFreeWork, 240, 27, 2, 2},
        {2, kStateGuidance, 320, 27, 2, 61},
    };
    for (const Case& c : cases) {
        appState.layout.orientation = c.orientation;
        appState.ui.screenState = c.state;
        appState.layout.screenHeight = c.height;
        appState.layout.barHeight = c.barHeight;
        appState.layout.textMargin = c.textMargin;
        auto lines = panel();
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0].y, c.row)
            << "orientation " << c.orientation << " state " << int(c.state);
        EXPECT_EQ(lines[1].y, c.row + 16);
    }
}

TEST_F(InfoPanelTest, LinesShowAreaDistanceSpeedSatellitesAndHdop) {
    auto lines = panel();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "0.12 ha 3.50 Km 18.5 Km/h");
    EXPECT_EQ(lines[1].text, "Sat: 7 HDOP: 0.9");
    for (const DrawnLine& line : lines)
        EXPECT_EQ(line.x, (240 + 1 - 9 * int(line.text.size())) / 2) << "centred";
}

// The link started with no receiver behind it (no port chosen): after three seconds of silence
// the second line says so instead of showing the last satellites and HDOP.
TEST_F(InfoPanelTest, SilentReceiverShowsNoData) {
    appState.settings.gpsPort = -1;
    setGpsEnabled(1);
    EXPECT_EQ(panel()[1].text, "Sat: 7 HDOP: 0.9");
    std::this_thread::sleep_for(std::chrono::milliseconds(kSilentSeconds * 1000 + 100));
    const auto lines = panel();
    setGpsEnabled(0);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "0.12 ha 3.50 Km 18.5 Km/h");
    EXPECT_EQ(lines[1].text, "No data");
    EXPECT_EQ(panel()[1].text, "Sat: 7 HDOP: 0.9") << "a stopped link";
}

// With corrections off, the fix type shows only when the receiver has corrections of its own.
TEST_F(InfoPanelTest, FixTypeFromTheGgaQuality) {
    const struct {
        int quality;
        const char* line;
    } cases[] = {
        {4, "Sat: 7 HDOP: 0.9 RTK"}, {5, "Sat: 7 HDOP: 0.9 Float"}, {2, "Sat: 7 HDOP: 0.9 DGPS"},
        {1, "Sat: 7 HDOP: 0.9"},     {0, "Sat: 7 HDOP: 0.9"},
    };
    for (const auto& c : cases) {
        appState.fix.fixQuality = c.quality;
        auto lines = panel();
        ASSERT_EQ(lines.size(), 2u) << c.quality;
        EXPECT_EQ(lines[1].text, c.line);
    }
    appState.fix.fixQuality = 0;
}

TEST_F(InfoPanelTest, ReviewShowsOnlyAreaAndDistanceOnOneLine) {
    appState.ui.screenState = kStateReview;
    auto lines = panel();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "0.12 ha 3.50 Km");
    EXPECT_EQ(lines[0].y, appState.layout.textMargin);
}

TEST_F(InfoPanelTest, NumbersKeepTheirPointUnderACommaLocale) {
    const char* german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    if (!german) GTEST_SKIP() << "no German locale on this machine";
    auto lines = panel();
    std::setlocale(LC_NUMERIC, "C");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "0.12 ha 3.50 Km 18.5 Km/h");
}

// The ground is the panel's hectares; the overlap goes beside them only where the line fits.
TEST_F(InfoPanelTest, OverlapBesideTheGroundWhereThereIsRoom) {
    appState.work.workedArea = 180000.0;
    appState.work.groundArea = 123456.0;
    for (const int width : {240, 480}) {
        appState.layout.screenWidth = std::uint16_t(width);
        auto lines = panel();
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0].text, width == 240 ? "0.12 ha 3.50 Km 18.5 Km/h"
                                              : "0.12 ha (overlap 0.06) 3.50 Km 18.5 Km/h");
    }
    appState.layout.screenWidth = 240;
}

TEST_F(InfoPanelTest, HugeValuesStayWithinTheLine) {
    appState.work.workedArea = 1e300;
    appState.work.distance = -2147483647 - 1;
    appState.fix.speedKnots = 3e38f;
    auto lines = panel();  // must not write past its 64-byte line
    ASSERT_GE(lines.size(), 1u);
    EXPECT_LE(lines[0].text.size(), 63u);
}

}  // namespace
}  // namespace screens_test
