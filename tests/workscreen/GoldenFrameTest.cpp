// Whole work-screen frames (background, work screen, buttons) with the program's own pictures
// and font, at both layouts and in both orientations, compared with reviewed references.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "GoldenImage.h"
#include "WorkScene.h"
#include "app/ImageTable.h"
#include "app/MessageScreen.h"
#include "app/Texts.h"
#include "app/ViewTransform.h"
#include "app/WorkScreen.h"
#include "gfx/Font.h"
#include "guidance/WorkedStrip.h"
#include "platform/Resources.h"

namespace {

using workscene::Canvas;

struct ScreenSize {
    int width;
    int height;
    std::uint32_t orientation;
};

constexpr ScreenSize kSizes[] = {{240, 320, 0}, {320, 240, 1}, {480, 640, 0}, {640, 480, 1}};

// The AB line of the guidance scenes runs 15 degrees east of north; lines are 12 m apart.
const Vec2 kLineA{0.0, 0.0};
const Vec2 kLineDirection{std::sin(15.0 * M_PI / 180.0), std::cos(15.0 * M_PI / 180.0)};
constexpr double kSpacing = 120.0;

Vec2 rightOf(Vec2 direction) {
    return {direction.y, -direction.x};
}

PlanePoint toInt(Vec2 p) {
    return {double(std::lround(p.x)), double(std::lround(p.y))};
}

// A pass north-east along line 0, a turn to the right and a pass back along line 1, `shift`
// dm right of it as seen from A towards B, ending `back` fixes into the second pass.
std::vector<PlanePoint> twoPasses(double shift, int back) {
    std::vector<PlanePoint> path;
    const Vec2 right = rightOf(kLineDirection);
    for (int k = 0; k < 40; ++k) path.push_back(toInt(kLineA + (10.0 * k) * kLineDirection));
    const Vec2 turnCentre = kLineA + 390.0 * kLineDirection + (0.5 * kSpacing) * right;
    for (int k = 1; k < 12; ++k) {
        const double a = M_PI * k / 12.0;
        path.push_back(toInt(turnCentre + (-0.5 * kSpacing * std::cos(a)) * right +
                             (0.5 * kSpacing * std::sin(a)) * kLineDirection));
    }
    for (int k = 0; k < back; ++k) {
        const double lateral = kSpacing + shift * std::min(1.0, k / 8.0);
        path.push_back(toInt(kLineA + (390.0 - 10.0 * k) * kLineDirection + lateral * right));
    }
    return path;
}

// A curving free run: north, then a long bend to the right.
std::vector<PlanePoint> curve() {
    std::vector<PlanePoint> path;
    for (int k = 0; k < 20; ++k) path.push_back({0.0, 10.0 * k});
    const Vec2 centre{250.0, 190.0};
    for (int k = 1; k <= 30; ++k) {
        const double a = M_PI - k * 0.025;
        path.push_back(toInt(centre + Vec2{250.0 * std::cos(a), 250.0 * std::sin(a)}));
    }
    return path;
}

void guidance(double shift, bool northUp) {
    appState.ui.screenState = kStateGuidance;
    appState.view.northUp = northUp;
    workscene::drive(twoPasses(shift, 30));
    workscene::guideAlong(kLineA, kLineDirection, kSpacing);
}

struct Scene {
    const char* name;
    std::function<void()> setUp;
};

const Scene kScenes[] = {
    {"free_work", [] { workscene::drive(curve()); }},
    {"setting_ab_with_a",
     [] {
         appState.ui.screenState = kStateSettingAB;
         const auto path = workscene::straight({0, 0}, kLineDirection, 30, 10.0);
         workscene::drive(path);
         appState.work.pointASet = 1;
         appState.work.pointA = {double(path[21].x), double(path[21].y)};
         appState.ui.promptShown = 1;
     }},
    // Right of the line going back towards A: steer left, two arrows right of the centre.
    {"guidance_heading_up_steer_left", [] { guidance(-25.0, false); }},
    // Left of it: steer right, three arrows left of the centre.
    {"guidance_heading_up_steer_right", [] { guidance(35.0, false); }},
    {"guidance_north_up", [] { guidance(35.0, true); }},
    {"paused_after_a_pause",
     [] {
         workscene::drive(curve());
         appState.work.pauseMarks = {45};
         coverAllRecords(appState.work);
         appState.ui.paused = 1;
     }},
    {"fewer_than_two_fixes",
     [] {
         appState.ui.screenState = kStateGuidance;
         workscene::drive({{100, 100}});
         workscene::guideAlong(kLineA, kLineDirection, kSpacing);
     }},
    {"picture_background",
     [] {
         appState.ui.pictureBackground = 1;
         workscene::drive(curve());
     }},
};

class GoldenFrames : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        installTexts();
        font_ = gfx::LoadFontResource();
    }
    static void TearDownTestSuite() {
        freeScreenImages();
        gfx::DestroyFont(font_);
        appState.layout.font = nullptr;
    }
    static gfx::Font* font_;
};
gfx::Font* GoldenFrames::font_ = nullptr;

TEST_F(GoldenFrames, WorkScreenAtEverySize) {
    ASSERT_NE(font_, nullptr) << "the program's font is missing from its resources";
    for (const ScreenSize& size : kSizes) {
        for (const Scene& scene : kScenes) {
            const std::string name = std::string(scene.name) + "_" + std::to_string(size.width) +
                                     "x" + std::to_string(size.height);
            SCOPED_TRACE(name);
            workscene::reset(size.width, size.height, size.orientation);
            appState.settings.zoom = appState.layout.wideLayout ? 2.0f : 1.0f;
            loadScreenImages();
            appState.layout.font = font_;
            scene.setUp();
            recomputeView();

            Canvas canvas(size.width, size.height);
            drawBackground(*canvas.raster);
            drawWorkScreen(*canvas.raster);
            drawWorkButtons(*canvas.raster);
            EXPECT_TRUE(matchesGolden(name, *canvas.surface));
        }
    }
}

// Today's cab screens, landscape and portrait, at layout scale 3: the start screen, a guidance
// frame with its large cross-track digits and panel, and a confirmation.
TEST_F(GoldenFrames, CabScreens) {
    const auto bytes = platform::findResource("FONTS", "155-24");
    gfx::Font* font = gfx::CreateLargeFont(bytes, 12, 24);
    ASSERT_NE(font, nullptr) << "the 12 x 24 font is missing from the resources";
    for (const ScreenSize size : {ScreenSize{1280, 800, 1}, ScreenSize{800, 1280, 0}}) {
        // Appended piece by piece: GCC 12 at -O3 sees a false overlap (-Wrestrict) in
        // "_" + std::to_string(...), which inserts the literal before a temporary.
        std::string suffix = "_";
        suffix += std::to_string(size.width);
        suffix += 'x';
        suffix += std::to_string(size.height);
        SCOPED_TRACE(suffix);
        workscene::reset(size.width, size.height, size.orientation);
        ASSERT_EQ(appState.layout.layoutScale, 3);
        appState.settings.zoom = 3.0f;
        loadBackgroundImage();
        loadScreenImages();
        appState.layout.font = font;
        ASSERT_NE(appState.layout.readoutFont, nullptr);

        Canvas start(size.width, size.height);
        drawStartLayout(*start.raster);
        EXPECT_TRUE(matchesGolden("start" + suffix, *start.surface));

        appState.ui.abReady = 1;
        guidance(35.0, false);
        appState.fix.speedKnots = 4.2f;
        appState.fix.satellitesUsed = 9;
        appState.fix.hdop = 0.9f;
        recomputeView();
        Canvas work(size.width, size.height);
        drawWorkFrame(*work.raster);
        EXPECT_TRUE(matchesGolden("guidance" + suffix, *work.surface));

        Canvas confirm(size.width, size.height);
        drawMessageLayout(*confirm.raster, messageText(kMsgSaveQuestion));
        for (const ButtonImage* b : {&appState.layout.imgYes, &appState.layout.imgNo})
            if (b->image) confirm.raster->Blit(b->x, b->y, b->image);
        EXPECT_TRUE(matchesGolden("confirm" + suffix, *confirm.surface));
    }
    appState.layout.font = font_;
    gfx::DestroyFont(font);
}

}  // namespace
