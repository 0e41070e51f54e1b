// Rules of the work screen's frame that a reference picture would hide: where guide numbers
// go, how the cross-track distance reads, when the steering sound plays, what is left out.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <utility>

#include "WorkScene.h"
#include "app/FrameStep.h"
#include "app/Palette.h"
#include "app/Texts.h"
#include "app/ViewTransform.h"
#include "app/WorkScreen.h"
#include "platform/HeadlessPlatform.h"
#include "platform/Platform.h"

namespace {

using workscene::Canvas;
using Ink = std::set<std::pair<int, int>>;

constexpr gfx::Pixel kTextPixel = 0x001F;  // textColor 0x00FF0000 is pure blue
constexpr gfx::Pixel kRed = 0xF800;

// Positions of colour within rows [top, top + 16).
Ink inkOf(const Canvas& canvas, gfx::Pixel colour, int top) {
    Ink ink;
    for (int y = std::max(top, 0); y < std::min(top + 16, canvas.surface->height()); ++y) {
        for (int x = 0; x < canvas.surface->width(); ++x) {
            if (canvas.at(x, y) == colour) ink.insert({x, y});
        }
    }
    return ink;
}

// What a text alone leaves on an empty screen.
Ink textInk(const char* text, int alignment, int x, int y, int width = 240, int height = 320) {
    Canvas canvas(width, height);
    canvas.raster->DrawString(appState.layout.font, text, alignment, x, y, kTextPixel);
    return inkOf(canvas, kTextPixel, y);
}

// Guidance at the origin heading north with two stored fixes far off the screen, so that only
// what guidance itself draws lands on it.
void guidanceScene() {
    workscene::reset(240, 320, 0);
    AppState& s = appState;
    s.ui.screenState = kStateGuidance;
    s.ui.abReady = 1;
    const TrackEdge edges[] = {{90000, 90000, 90100, 90000}, {90000, 90100, 90100, 90100}};
    s.work.strips.assign(edges, 2);
    recomputeView();
}

void setLine(int index, ScreenPoint a, ScreenPoint b) {
    appState.view.guideLinesScreen[2 * index] = a;
    appState.view.guideLinesScreen[2 * index + 1] = b;
}

TEST(WorkFrame, GuideNumbersWhereLinesCrossTheNumberRow) {
    guidanceScene();
    AppState& s = appState;
    const int row = s.layout.guideNumberRow;  // 256
    s.guide.guideNumber = 5;

    // Current line level on the screen: no number for it; the others at their crossings.
    setLine(0, {0, 200}, {240, 200});
    setLine(1, {100, 0}, {110, 100});  // crosses the row at 100 + 10 * 256 / 100 = 125
    setLine(2, {30, 300}, {20, 100});  // 30 + (-10 * -44) / -200 = 30 - 2.2, truncated: 28
    Canvas canvas(240, 320);
    drawWorkScreen(*canvas.raster);
    Ink expected = textInk("+4", 0, 125, row);
    const Ink next = textInk("+6", 0, 28, row);
    expected.insert(next.begin(), next.end());
    EXPECT_EQ(inkOf(canvas, kTextPixel, row), expected);

    // Every line level: no number at all.
    setLine(1, {0, 10}, {240, 10});
    setLine(2, {-50, 400}, {300, 400});
    Canvas level(240, 320);
    drawWorkScreen(*level.raster);
    EXPECT_TRUE(inkOf(level, kTextPixel, row).empty());

    // Negative numbers keep their sign; numbers can be switched off.
    s.guide.guideNumber = -1;
    setLine(0, {60, 0}, {60, 320});
    Canvas negative(240, 320);
    drawWorkScreen(*negative.raster);
    EXPECT_EQ(inkOf(negative, kTextPixel, row), textInk("-1", 0, 60, row));
    s.settings.showGuideNumbers = 0;
    Canvas off(240, 320);
    drawWorkScreen(*off.raster);
    EXPECT_TRUE(inkOf(off, kTextPixel, row).empty());
}

TEST(WorkFrame, CrossTrackShownInMetresWithoutSign) {
    const std::pair<double, const char*> cases[] = {
        {12.3, "1.23 m"}, {-12.3, "1.23 m"}, {-0.004, "0.00 m"},  {0.0, "0.00 m"},
        {-0.0, "0.00 m"}, {5.0, "0.50 m"},   {-999.9, "99.99 m"}, {-12345.0, "1234.50 m"},
    };
    for (const auto& [crossTrack, text] : cases) {
        SCOPED_TRACE(crossTrack);
        guidanceScene();
        appState.guide.crossTrack = crossTrack;
        appState.guide.steerLeft = crossTrack > 0.0;
        setLine(0, {-100, 0}, {-100, 320});  // lines and numbers out of the way
        setLine(1, {-100, 0}, {-100, 320});
        setLine(2, {-100, 0}, {-100, 320});
        Canvas canvas(240, 320);
        drawWorkScreen(*canvas.raster);
        const int y = appState.layout.textMargin + appState.layout.barHeight;
        EXPECT_EQ(inkOf(canvas, kTextPixel, y), textInk(text, 2, 0, y));
    }
}

struct SoundCase {
    const char* name;
    std::uint8_t state;
    std::uint8_t arrows;
    std::uint8_t steerLeft;
    std::uint8_t paused;
    std::uint8_t abReady;
    std::uint8_t northUp;
    std::vector<int> soundingFrames;  // 0-based frames that start a sound
};

class SteeringSound : public ::testing::TestWithParam<SoundCase> {};

// Off the line the sound of the side to steer to starts on every third frame, in both views;
// on the line, paused, before the AB line or in free work there is none.
TEST_P(SteeringSound, EveryThirdFrameOnlyWhenOffTheLine) {
    const SoundCase& c = GetParam();
    platform::HeadlessPlatform headless;
    platform::install(&headless);
    guidanceScene();
    AppState& s = appState;
    s.ui.screenState = c.state;
    s.guide.arrowCount = c.arrows;
    s.guide.steerLeft = c.steerLeft;
    s.ui.paused = c.paused;
    s.ui.abReady = c.abReady;
    s.view.northUp = c.northUp;
    std::vector<int> sounding;
    for (int frame = 0; frame < 10; ++frame) {
        const std::size_t before = headless.sounds().size();
        Canvas canvas(240, 320);
        stepWorkFrame();
        drawWorkScreen(*canvas.raster);
        const auto sounds = headless.sounds();
        if (sounds.size() > before) {
            sounding.push_back(frame);
            EXPECT_EQ(sounds.back(), c.steerLeft ? "SONIDOLEFT" : "SONIDORIGHT");
        }
    }
    EXPECT_EQ(sounding, c.soundingFrames);
    platform::install(nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, SteeringSound,
    ::testing::Values(SoundCase{"steer_left", kStateGuidance, 2, 1, 0, 1, 0, {0, 3, 6, 9}},
                      SoundCase{
                          "steer_right_north_up", kStateGuidance, 1, 0, 0, 1, 1, {0, 3, 6, 9}},
                      SoundCase{"on_the_line", kStateGuidance, 0, 0, 0, 1, 0, {}},
                      SoundCase{"paused", kStateGuidance, 3, 1, 1, 1, 0, {}},
                      SoundCase{"before_ab_line", kStateGuidance, 3, 1, 0, 0, 0, {}},
                      SoundCase{"free_work", kStateFreeWork, 3, 1, 0, 1, 0, {}}),
    [](const auto& info) { return info.param.name; });

// A sound still counting down when the vehicle reaches the line is not followed by another.
TEST(WorkFrame, SoundStopsOnReachingTheLine) {
    platform::HeadlessPlatform headless;
    platform::install(&headless);
    guidanceScene();
    appState.guide.arrowCount = 2;
    appState.guide.steerLeft = 1;
    Canvas canvas(240, 320);
    stepWorkFrame();
    drawWorkScreen(*canvas.raster);
    appState.guide.arrowCount = 0;
    for (int frame = 0; frame < 6; ++frame) {
        stepWorkFrame();
        drawWorkScreen(*canvas.raster);
    }
    EXPECT_EQ(headless.sounds().size(), 1u);
    platform::install(nullptr);
}

// With fewer than two fixes nothing of the track or guidance is drawn, but the vehicle and the
// paused notice are.
TEST(WorkFrame, FewerThanTwoFixes) {
    guidanceScene();
    AppState& s = appState;
    s.work.strips.resize(1);
    s.guide.arrowCount = 3;
    s.guide.steerLeft = 1;
    s.ui.paused = 1;
    setLine(0, {120, 0}, {120, 320});
    gfx::Surface* vehicle = gfx::CreateSurface(10, 10);
    gfx::Rasterizer(vehicle).Clear(0x07E0);
    s.layout.vehicleImage = vehicle;
    Canvas canvas(240, 320);
    drawWorkScreen(*canvas.raster);
    EXPECT_EQ(canvas.at(120, 100), 0) << "no guide line";
    EXPECT_EQ(canvas.at(10, 5), 0) << "no steering bar";
    EXPECT_EQ(canvas.at(120, 155), 0x07E0) << "vehicle";
    EXPECT_FALSE(inkOf(canvas, kRed, s.layout.halfScreenHeight + 27).empty()) << "PAUSED";
}

// Records of a straight run share their edges: the strip between its two side lines is the
// track colour on every row, with no line of background where one record meets the next.
TEST(WorkFrame, StraightStripHasNoBackgroundInside) {
    // Heading north seen heading up (level and nearly level seams), 2 degrees east and 15
    // degrees east seen north up (slanted seams).
    for (const double degrees : {0.0, 2.0, 15.0}) {
        const bool northUp = degrees != 0.0;
        SCOPED_TRACE(degrees);
        workscene::reset(240, 320, 0);
        AppState& s = appState;
        s.settings.showVehicle = 0;
        s.view.northUp = northUp;
        const double a = degrees * M_PI / 180.0;
        // A straight run as a receiver reports it: a decimetre to the side now and then.
        std::vector<PlanePoint> path =
            workscene::straight({0, 0}, {std::sin(a), std::cos(a)}, 60, 10.0);
        // (The last steps run true, so the view's heading is the run's.)
        for (std::size_t k = 0; k + 3 < path.size(); ++k) path[k].x += int(k / 2 % 2);
        workscene::drive(path);
        recomputeView();
        Canvas canvas(240, 320);
        drawBackground(*canvas.raster);
        drawWorkScreen(*canvas.raster);
        const gfx::Pixel track = gfx::pixelFromColorRef(s.settings.trackColor);
        int checked = 0;
        // Along the strip's middle, from past the implement bar to the screen's bottom edge.
        for (int y = s.layout.halfScreenHeight + 12; y < 320; ++y) {
            const int x = s.layout.halfScreenWidth -
                          int(std::lround((y - s.layout.halfScreenHeight) * std::tan(a)));
            for (int dx = -32; dx <= 32; dx += 8) {
                ASSERT_EQ(canvas.at(x + dx, y), track) << "at " << x + dx << ", " << y;
                ++checked;
            }
        }
        EXPECT_GT(checked, 1000);
    }
}

// Zoomed in on a wide implement, the strip reaches past both screen edges: every piece of it has
// all four corners off the screen, and still the whole screen behind the vehicle is worked.
TEST(WorkFrame, StripWiderThanTheScreenCoversItFromEdgeToEdge) {
    workscene::reset(240, 320, 0);
    AppState& s = appState;
    s.settings.showVehicle = 0;
    s.settings.zoom = 3.0f;  // the 12 m strip is 360 pixels wide
    workscene::drive(workscene::straight({0, 0}, {0, 1}, 60, 10.0));
    recomputeView();
    Canvas canvas(240, 320);
    drawBackground(*canvas.raster);
    drawWorkScreen(*canvas.raster);
    const gfx::Pixel track = gfx::pixelFromColorRef(s.settings.trackColor);
    int other = 0;
    for (int y = s.layout.halfScreenHeight + 12; y < 320; ++y)
        for (int x = 0; x < 240; ++x) other += canvas.at(x, y) != track;
    EXPECT_EQ(other, 0);
}

// Guide lines are drawn where they lie. Seen north up at zoom 3, each line's ends lie some
// 13 000 pixels off the screen; every red pixel must still be within 5.5 pixels (half the
// width with its corners' rounding, and a pixel of the view's truncation) of one of the three
// lines, which the test places from the vehicle's offset, the spacing and the zoom alone, and
// each line must show.
TEST(WorkFrame, GuideLinesLieWhereTheyAreAtAnyAngle) {
    for (const double degrees : {8.0, 30.0, 61.0, 143.0}) {
        SCOPED_TRACE(degrees);
        workscene::reset(480, 640, 0);
        AppState& s = appState;
        s.settings.showVehicle = 0;
        s.settings.showGuideNumbers = 0;
        s.view.northUp = 1;
        s.settings.zoom = 3.0f;
        s.ui.screenState = kStateGuidance;
        const double a = degrees * M_PI / 180.0;
        const Vec2 along{std::sin(a), std::cos(a)}, right{std::cos(a), -std::sin(a)};
        // Driving along the line 35 dm right of line 0, which runs through the origin.
        workscene::drive(workscene::straight({35.0 * right.x, 35.0 * right.y}, along, 20, 10.0));
        workscene::guideAlong({0.0, 0.0}, along, 120.0);
        recomputeView();
        ASSERT_EQ(s.guide.guideNumber, 0);
        Canvas canvas(480, 640);
        drawBackground(*canvas.raster);
        drawWorkScreen(*canvas.raster);
        const ScreenPoint v = worldToScreen(s.work.position);
        ASSERT_NEAR(v.x, s.layout.halfScreenWidth, 1);
        ASSERT_NEAR(v.y, s.layout.halfScreenHeight, 1);
        // On the screen, y grows southward: the lines' direction and their right.
        const double ux = along.x, uy = -along.y, rx = right.x, ry = -right.y;
        const auto across = [&](int x, int y, int k) {
            const double offset = (k * 120.0 - 35.0) * 3.0;  // pixels right of the vehicle
            return (x - v.x) * rx + (y - v.y) * ry - offset;
        };
        const int mapBottom = s.layout.btnFinish.top;
        int stray = 0, missing = 0;
        for (int y = 0; y < mapBottom; ++y) {
            for (int x = 0; x < 480; ++x) {
                if (canvas.at(x, y) != kRed) continue;
                bool near = false;
                for (int k = -1; k <= 1; ++k) near = near || std::fabs(across(x, y, k)) <= 5.5;
                stray += !near;
            }
        }
        // Along each line, every 20 pixels of it on the map: red within 5 pixels across.
        for (int k = -1; k <= 1; ++k) {
            for (double t = -1000.0; t <= 1000.0; t += 20.0) {
                const double offset = (k * 120.0 - 35.0) * 3.0;
                const double cx = v.x + offset * rx + t * ux, cy = v.y + offset * ry + t * uy;
                if (cx < 6 || cx > 474 || cy < 6 || cy > mapBottom - 6) continue;
                bool found = false;
                for (int d = -5; d <= 5 && !found; ++d)
                    found = canvas.at(int(std::lround(cx + d * rx)),
                                      int(std::lround(cy + d * ry))) == kRed;
                missing += !found;
            }
        }
        EXPECT_EQ(stray, 0) << "red pixels off every line";
        EXPECT_EQ(missing, 0) << "places of a line with no red";
    }
}

// The palette in force on the work screen: the user's colours by day, the night colours by
// night, and Automatic decided by the sun at the last fix (a winter midnight in England).
TEST(WorkFrame, PaletteDayNightAndAutomatic) {
    workscene::reset(240, 320, 0);
    AppState& s = appState;
    s.settings.backgroundColor = 0x0025C9A0;
    const auto groundAfterFrame = [] {
        Canvas canvas(240, 320);
        refreshPalette();
        drawBackground(*canvas.raster);
        return canvas.at(5, 5);
    };
    const gfx::Pixel day = gfx::pixelFromColorRef(s.settings.backgroundColor);
    setPaletteChoice(PaletteChoice::Night);
    const gfx::Pixel night = groundAfterFrame();
    EXPECT_NE(night, day);
    EXPECT_LT((night >> 11) + ((night >> 5) & 0x3F) / 2 + (night & 0x1F), 12) << "dark";
    setPaletteChoice(PaletteChoice::Day);
    EXPECT_EQ(groundAfterFrame(), day);
    EXPECT_EQ(s.settings.backgroundColor, 0x0025C9A0u) << "the user's colour is kept";

    GPS_POSITION fix{};
    fix.fixQuality = 1;
    fix.latitude = 52.2;
    fix.longitude = 0.1;
    fix.utcTime = {2024, 12, 6, 21, 0, 0, 0, 0};  // midnight, the sun 61 degrees down
    notePaletteFix(fix);
    setPaletteChoice(PaletteChoice::Automatic);
    EXPECT_EQ(groundAfterFrame(), night);
    setPaletteChoice(PaletteChoice::Day);
    EXPECT_EQ(groundAfterFrame(), day);
}

// The full work is told in one red line that leaves the cross-track text and the guide
// numbers free, at every size and in both orientations.
TEST(WorkFrame, FullWorkLineKeepsGuidanceInSight) {
    const int sizes[][3] = {{240, 320, 0}, {320, 240, 1}, {480, 640, 0}, {640, 480, 1}};
    for (const auto& size : sizes) {
        for (std::uint8_t state : {kStateFreeWork, kStateGuidance}) {
            SCOPED_TRACE(testing::Message()
                         << size[0] << "x" << size[1] << " state " << int(state));
            guidanceScene();
            workscene::reset(size[0], size[1], std::uint32_t(size[2]));
            AppState& s = appState;
            s.ui.screenState = state;
            s.work.workFull = 1;
            Canvas canvas(size[0], size[1]);
            drawWorkScreen(*canvas.raster);
            int top = -1, bottom = -1;
            for (int y = 0; y < size[1]; ++y) {
                for (int x = 0; x < size[0]; ++x) {
                    if (canvas.at(x, y) != kRed) continue;
                    if (top < 0) top = y;
                    bottom = y;
                }
            }
            if (*messageText(kMsgWorkFull) == '\0') GTEST_SKIP() << "no text for a full work";
            ASSERT_GE(top, 0);
            const int crossTrackRow = s.layout.textMargin + s.layout.barHeight;
            if (state == kStateGuidance) {
                EXPECT_TRUE(top >= crossTrackRow + 16 || bottom < crossTrackRow);
            }
            EXPECT_TRUE(top >= s.layout.guideNumberRow + 16 || bottom < s.layout.guideNumberRow);
            EXPECT_LT(bottom, size[1]);
        }
    }
}

}  // namespace
