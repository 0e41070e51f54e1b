#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gfx/Display.h"
#include "gfx/Presenter.h"

namespace {

struct Shown {
    int frames = 0;
    int width = 0, height = 0, pitch = 0;
    std::vector<std::uint16_t> pixels;
};
Shown shown;
std::vector<std::string> logLines;

void record(const std::uint16_t* pixels, int width, int height, int pitchBytes) {
    ++shown.frames;
    shown.width = width;
    shown.height = height;
    shown.pitch = pitchBytes;
    shown.pixels.clear();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) shown.pixels.push_back(pixels[y * (pitchBytes / 2) + x]);
}

class DisplayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        shown = {};
        logLines.clear();
        gfx::setPresentHook(record);
        gfx::setDisplayLogSink([](const char* line) { logLines.push_back(line); });
        gfx::setBackendScreen(240, 320);
        gfx::setBackendOrientation(0);
    }
    void TearDown() override {
        gfx::setPresentHook(nullptr);
        gfx::setDisplayLogSink(nullptr);
    }
    std::unique_ptr<gfx::Display, void (*)(gfx::Display*)> create(gfx::DisplayParameters& p) {
        return {gfx::Display::Create(nullptr, p), gfx::Display::Destroy};
    }
};

TEST_F(DisplayTest, ScreenAsItIsGivesTheFrameItself) {
    gfx::DisplayParameters p{0, 0, gfx::kOrientationAsIs, 1};
    auto display = create(p);
    ASSERT_TRUE(display);
    EXPECT_EQ(p.width, 240u);
    EXPECT_EQ(p.height, 320u);
    EXPECT_EQ(p.orientation, 0u);
    EXPECT_EQ(p.swapEffect, 2u);
    EXPECT_FALSE(display->presenter()->hasPrivateBackBuffer());
    gfx::Surface* back = display->GetBackBuffer();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->pitch(), 480u);
    EXPECT_EQ(back->colourKey, -1);
    EXPECT_EQ(display->Target(), back);
    EXPECT_EQ(logLines.front().rfind("Sulcovane", 0), 0u);
    EXPECT_EQ(logLines[1], "Display::Create( hwnd = 00000000, W:0, H:0, O:4, S:1 )");
    EXPECT_EQ(logLines.back(),
              "Success, returning display params to caller (W:240, H:320, O:0, S:2)");
}

TEST_F(DisplayTest, SwapEffectZeroIsNeverReturned) {
    gfx::DisplayParameters p{0, 0, 0, 0};
    auto display = create(p);
    ASSERT_TRUE(display);
    EXPECT_NE(p.swapEffect, 0u);
    EXPECT_EQ(logLines[2], "Swap effect forced to SWAP_DISCARD");
}

TEST_F(DisplayTest, FramesArePresentedAndEndWithUpdate) {
    gfx::DisplayParameters p{0, 0, gfx::kOrientationAsIs, 1};
    auto display = create(p);
    for (int frame = 0; frame < 2; ++frame) {
        ASSERT_TRUE(display->GetBackBuffer());
        display->Clear(gfx::Pixel(0x1000 + frame));
        display->SetPixel(3, 4, 0xFFFF);
        EXPECT_TRUE(display->Update());
        EXPECT_EQ(shown.frames, frame + 1);
        EXPECT_EQ(shown.pixels[0], 0x1000 + frame);
        EXPECT_EQ(shown.pixels[4 * 240 + 3], 0xFFFF);
        // Until the next GetBackBuffer there is nothing to draw on.
        EXPECT_EQ(display->Target(), nullptr);
        display->SetPixel(0, 0, 0xFFFF);
        EXPECT_FALSE(display->Update());
    }
    EXPECT_EQ(shown.frames, 2);
}

TEST_F(DisplayTest, UpdateRectangleIsClampedAndWidenedToEvenCoordinates) {
    gfx::DisplayParameters p{0, 0, gfx::kOrientationAsIs, 1};
    auto display = create(p);
    gfx::Presenter& presenter = *display->presenter();
    struct Case {
        gfx::Rect in, out;
    } cases[] = {
        {{3, 3, 7, 7}, {2, 2, 8, 8}},         {{-5, -5, 1000, 1000}, {0, 0, 240, 320}},
        {{0, 10, 240, 11}, {0, 10, 240, 12}}, {{500, 0, 600, 10}, {0, 0, 0, 0}},
        {{5, 5, 5, 9}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        presenter.SetUpdateRect(&c.in);
        EXPECT_EQ(presenter.updateRect(), c.out) << c.in.left << "," << c.in.top;
    }
    presenter.SetUpdateRect(&cases[2].in);
    EXPECT_TRUE(presenter.updateContiguous());  // full rows of a 480-byte pitch
    presenter.SetUpdateRect(&cases[0].in);
    EXPECT_FALSE(presenter.updateContiguous());

    // An empty rectangle presents nothing.
    ASSERT_TRUE(display->GetBackBuffer());
    gfx::Rect offScreen{500, 0, 600, 10};
    EXPECT_TRUE(display->Update(&offScreen));
    EXPECT_EQ(shown.frames, 0);
}

TEST_F(DisplayTest, OtherOrientationIsTurnedIntoTheFrame) {
    gfx::DisplayParameters p{0, 0, 1, 1};
    auto display = create(p);
    ASSERT_TRUE(display);
    EXPECT_EQ(p.width, 320u);  // drawn in landscape...
    EXPECT_EQ(p.height, 240u);
    EXPECT_EQ(p.orientation, 1u);
    gfx::Surface* back = display->GetBackBuffer();
    ASSERT_TRUE(back);
    display->Clear(0);
    display->SetPixel(0, 0, 1);
    display->SetPixel(319, 0, 2);
    display->SetPixel(5, 7, 3);
    ASSERT_TRUE(display->Update());
    ASSERT_EQ(shown.width, 240);  // ...shown on the portrait frame, turn (0 - 1) mod 4 = 3
    ASSERT_EQ(shown.height, 320);
    // Turn 3: (sx, sy) goes to (sy, W - 1 - sx) with W = 320.
    EXPECT_EQ(shown.pixels[319 * 240 + 0], 1);
    EXPECT_EQ(shown.pixels[0 * 240 + 0], 2);
    EXPECT_EQ(shown.pixels[(319 - 5) * 240 + 7], 3);
}

TEST_F(DisplayTest, OrientationsTheScreenCannotTakeFail) {
    gfx::setBackendScreen(241, 320);  // not whole tiles: no turned modes
    gfx::DisplayParameters p{0, 0, 1, 1};
    EXPECT_FALSE(create(p));
    EXPECT_EQ(logLines.back(), "Destroying display");
    gfx::setBackendScreen(0, 0);
    gfx::DisplayParameters q{0, 0, gfx::kOrientationAsIs, 1};
    EXPECT_FALSE(create(q));
}

}  // namespace
