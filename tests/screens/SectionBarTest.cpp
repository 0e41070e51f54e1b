// The section bar on the work screen: each box in the colour of what its section does, the
// master's word on its button, at a handheld and a cab size; and its taps, which force a section
// and give it back, turn the master round, and never set point A.
#include <array>

#include "FrameText.h"
#include "ScreenFixture.h"
#include "app/Layout.h"
#include "app/Palette.h"
#include "app/SectionBar.h"
#include "app/SectionControl.h"
#include "app/WorkScreen.h"
#include "gfx/Rasterizer.h"

namespace screens_test {
namespace {

constexpr gfx::Pixel kWhite = 0xFFFF;
constexpr gfx::Pixel kBlack = 0x0000;

// The day colours as the README gives them; master Off leaves the boxes empty (the plate).
gfx::Pixel dayColour(SectionShown shown) {
    switch (shown) {
        case SectionShown::On:
            return gfx::pixelFromRgb(0, 192, 0);
        case SectionShown::ForcedOn:
            return gfx::pixelFromRgb(144, 238, 144);
        case SectionShown::ForcedOff:
            return gfx::pixelFromRgb(224, 0, 0);
        case SectionShown::WorkedGround:
            return gfx::pixelFromRgb(136, 136, 136);
        case SectionShown::OutsideField:
            return gfx::pixelFromRgb(160, 82, 45);
        case SectionShown::Headland:
            return gfx::pixelFromRgb(240, 208, 0);
        case SectionShown::TooSlow:
            return gfx::pixelFromRgb(32, 96, 240);
        case SectionShown::Off:
            return kWhite;
    }
    return kBlack;
}

// What the eight sections of everyState() show under Auto.
constexpr std::array<SectionShown, 8> kStates = {
    SectionShown::On,           SectionShown::WorkedGround,
    SectionShown::OutsideField, SectionShown::Headland,
    SectionShown::TooSlow,      SectionShown::ForcedOn,
    SectionShown::ForcedOff,    SectionShown::On};

// Eight equal sections of a 12 m implement, decided at a fix: the ground asks for every reason
// there is, one section is forced on over worked ground and one forced off where it would work.
void everyState() {
    configureSections(*parseSectionLayout("", 8, 1200).layout, SectionRules{}, true);
    SectionControl& c = sectionControl;
    c.ground.assign(8, SectionDecision{true, SectionReason::On, kNoChange, true});
    const std::pair<int, SectionReason> off[] = {{1, SectionReason::WorkedGround},
                                                 {2, SectionReason::OutsideField},
                                                 {3, SectionReason::Headland},
                                                 {4, SectionReason::TooSlow},
                                                 {5, SectionReason::WorkedGround}};
    for (const auto& [i, reason] : off)
        c.ground[std::size_t(i)] = {false, reason, kNoChange, false};
    c.decisions = c.ground;
    c.decided = true;
    c.forced[5] = SectionForce::On;
    c.forced[6] = SectionForce::Off;
}

struct SurfaceImage {
    explicit SurfaceImage(const gfx::Surface& s)
        : surface(s), width(s.width()), height(s.height()) {}
    gfx::Pixel at(int x, int y) const { return surface.pixel(x, y); }
    const gfx::Surface& surface;
    int width;
    int height;
};

void setScreen(int width, int height, std::uint32_t orientation) {
    appState.layout.screenWidth = std::uint16_t(width);
    appState.layout.screenHeight = std::uint16_t(height);
    appState.layout.orientation = orientation;
    computeScreenMetrics();
    computeLayout();
}

class SectionBarTest : public ScreenTest {
  protected:
    void SetUp() override {
        ScreenTest::SetUp();
        setScreen(240, 320, 0);
        appState.settings.backgroundColor = 0x0025C9A0;
        appState.ui.screenState = kStateFreeWork;
        setPaletteChoice(PaletteChoice::Day);
        refreshPalette();
    }
    void TearDown() override {
        configureSections(SectionLayout{}, SectionRules{}, false);
        setPaletteChoice(PaletteChoice::Day);
        refreshPalette();
        setScreen(240, 320, 0);
        ScreenTest::TearDown();
    }

    // The master's word as drawn in ink inside its button, or "" when it is not there.
    template <typename Image>
    static std::string masterText(const Image& frame, gfx::Pixel ink) {
        const ButtonRect m = sectionBarPlace().master;
        for (const DrawnLine& line : drawnLines(frame, ink))
            if (m.contains(line.x, line.y) &&
                m.contains(line.x + 9 * int(line.text.size()) - 2, line.y + 15))
                return line.text;
        return "";
    }

    // Every box's centre in the colour of its state.
    template <typename Image>
    static void expectBoxes(const Image& frame, const std::array<gfx::Pixel, 8>& colours) {
        const SectionBarPlace place = sectionBarPlace();
        for (int i = 0; i < 8; ++i) {
            const ButtonRect box = sectionBox(place, i, 8);
            EXPECT_EQ(frame.at((box.left + box.right) / 2, (box.top + box.bottom) / 2),
                      colours[std::size_t(i)])
                << "section " << i + 1;
        }
    }
};

std::array<gfx::Pixel, 8> dayColours() {
    std::array<gfx::Pixel, 8> colours{};
    for (std::size_t i = 0; i < 8; ++i) colours[i] = dayColour(kStates[i]);
    return colours;
}

TEST_F(SectionBarTest, HandheldFrameShowsEachSectionsStateAndTheMaster) {
    everyState();
    for (int i = 0; i < 8; ++i) ASSERT_EQ(sectionShown(i), kStates[std::size_t(i)]);
    appState.ui.redrawPending = 1;
    paint();
    const auto frame = headless().lastFrame();
    expectBoxes(frame, dayColours());
    EXPECT_EQ(masterText(frame, kBlack), "Auto");
    // The forced boxes carry a heavy border, the others none.
    const SectionBarPlace place = sectionBarPlace();
    for (int i : {5, 6, 0, 1}) {
        const ButtonRect box = sectionBox(place, i, 8);
        EXPECT_EQ(frame.at(box.left, (box.top + box.bottom) / 2) == kBlack, i >= 5) << i + 1;
    }
    // The plate behind, and the map beside it, untouched.
    EXPECT_EQ(frame.at(place.boxes.right, (place.plate.top + place.plate.bottom) / 2), kWhite);
    EXPECT_EQ(frame.at(place.plate.left - 1, place.plate.top),
              gfx::pixelFromColorRef(appState.settings.backgroundColor));

    // Manual: every section the driver has not forced is on; Off: every box empty.
    sectionControl.master = SectionMaster::Manual;
    appState.ui.redrawPending = 1;
    paint();
    std::array<gfx::Pixel, 8> manual;
    manual.fill(dayColour(SectionShown::On));
    manual[5] = dayColour(SectionShown::ForcedOn);
    manual[6] = dayColour(SectionShown::ForcedOff);
    expectBoxes(headless().lastFrame(), manual);
    EXPECT_EQ(masterText(headless().lastFrame(), kBlack), "Manual");
    sectionControl.master = SectionMaster::Off;
    appState.ui.redrawPending = 1;
    paint();
    std::array<gfx::Pixel, 8> off;
    off.fill(kWhite);
    expectBoxes(headless().lastFrame(), off);
    EXPECT_EQ(masterText(headless().lastFrame(), kBlack), "Off");
    appState.ui.language = 2;
    appState.ui.redrawPending = 1;
    paint();
    EXPECT_EQ(masterText(headless().lastFrame(), kBlack), "Aus");

    // With one section the bar is gone.
    configureSections(*parseSectionLayout("", 1, 1200).layout, SectionRules{}, false);
    appState.ui.redrawPending = 1;
    paint();
    const auto plain = headless().lastFrame();
    for (int i = 0; i < 8; ++i) {
        const ButtonRect box = sectionBox(place, i, 8);
        EXPECT_EQ(plain.at((box.left + box.right) / 2, (box.top + box.bottom) / 2),
                  gfx::pixelFromColorRef(appState.settings.backgroundColor));
    }
}

// At night every colour is dimmed as the pictures are, on a dark plate, and they stay apart.
TEST_F(SectionBarTest, NightColoursAreDimmedAndDistinct) {
    everyState();
    setPaletteChoice(PaletteChoice::Night);
    appState.ui.redrawPending = 1;
    paint();
    ASSERT_TRUE(nightPalette());
    std::array<gfx::Pixel, 8> night{};
    for (std::size_t i = 0; i < 8; ++i) night[i] = dimmedPixel(dayColour(kStates[i]));
    expectBoxes(headless().lastFrame(), night);
    const gfx::Pixel plate = sectionPlateColour();
    EXPECT_NE(plate, kWhite);
    const SectionShown all[] = {SectionShown::On,           SectionShown::ForcedOn,
                                SectionShown::ForcedOff,    SectionShown::WorkedGround,
                                SectionShown::OutsideField, SectionShown::Headland,
                                SectionShown::TooSlow,      SectionShown::Off};
    for (SectionShown a : all) {
        for (SectionShown b : all) {
            if (a != b) {
                EXPECT_NE(sectionColour(a), sectionColour(b));
            }
        }
    }
    EXPECT_EQ(sectionColour(SectionShown::Off), plate);
    EXPECT_EQ(masterText(headless().lastFrame(), sectionInkColour()), "Auto");
}

TEST_F(SectionBarTest, CabFrameShowsEachSectionsStateAndTheMaster) {
    for (const std::uint32_t orientation : {1u, 0u}) {
        const int width = orientation ? 1280 : 800, height = orientation ? 800 : 1280;
        SCOPED_TRACE(width);
        setScreen(width, height, orientation);
        ASSERT_EQ(appState.layout.layoutScale, 3);
        everyState();
        gfx::Surface* surface = gfx::CreateSurface(width, height);
        ASSERT_NE(surface, nullptr);
        {
            gfx::Rasterizer r(surface);
            drawWorkFrame(r);
        }
        const SurfaceImage frame(*surface);
        expectBoxes(frame, dayColours());
        EXPECT_EQ(masterText(frame, kBlack), "Auto");
        // A finger's size: eight boxes of 20 handheld pixels (60 here) each way at the least.
        const ButtonRect box = sectionBox(sectionBarPlace(), 0, 8);
        EXPECT_GE(box.right - box.left, 60);
        EXPECT_GE(box.bottom - box.top, 60);
        gfx::DestroySurface(surface);
    }
}

class SectionBarTouchTest : public SectionBarTest {
  protected:
    void SetUp() override {
        SectionBarTest::SetUp();
        AppState& s = appState;
        s.ui.screenState = kStateSettingAB;
        s.work.positionSet = 1;
        s.work.position = {0.0, 200.0};
        s.work.pointASet = 0;
        configureSections(*parseSectionLayout("", 8, 1200).layout, SectionRules{}, true);
        sectionControl.ground.assign(8, SectionDecision{true, SectionReason::On, kNoChange, true});
        sectionControl.decisions = sectionControl.ground;
        sectionControl.decided = true;
    }
    void TearDown() override {
        appState.work.positionSet = 0;
        appState.work.pointASet = 0;
        SectionBarTest::TearDown();
    }
    static void tapCentre(const ButtonRect& r) {
        tapAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
};

TEST_F(SectionBarTouchTest, BoxForcesItsSectionAndGivesItBack) {
    const SectionBarPlace place = sectionBarPlace();
    tapCentre(sectionBox(place, 2, 8));
    EXPECT_EQ(sectionControl.forced[2], SectionForce::Off) << "an on section is forced off";
    EXPECT_FALSE(sectionControl.decisions[2].on);
    EXPECT_EQ(appState.ui.redrawPending, 1);
    for (int i : {0, 1, 3, 4, 5, 6, 7})
        EXPECT_EQ(sectionControl.forced[std::size_t(i)], SectionForce::None) << i + 1;
    appState.ui.redrawPending = 0;
    tapCentre(sectionBox(place, 2, 8));
    EXPECT_EQ(sectionControl.forced[2], SectionForce::None);
    EXPECT_TRUE(sectionControl.decisions[2].on);
    EXPECT_EQ(appState.ui.redrawPending, 1);
    // The last box reaches the bar's right end.
    tapAt(place.plate.right - 1, place.plate.bottom - 1);
    EXPECT_EQ(sectionControl.forced[7], SectionForce::Off);
    EXPECT_EQ(appState.work.pointASet, 0) << "a tap on the bar is no tap on the map";
    EXPECT_EQ(appState.ui.paused, 0);
}

TEST_F(SectionBarTouchTest, MasterTurnsAutoManualOffAndNeverSetsA) {
    const ButtonRect master = sectionBarPlace().master;
    for (SectionMaster next :
         {SectionMaster::Manual, SectionMaster::Off, SectionMaster::Auto, SectionMaster::Manual}) {
        appState.ui.redrawPending = 0;
        tapCentre(master);
        EXPECT_EQ(sectionControl.master, next);
        EXPECT_EQ(appState.ui.redrawPending, 1);
    }
    // The plate's corner, beside the master, is the bar's too.
    tapAt(sectionBarPlace().plate.left, sectionBarPlace().plate.top);
    EXPECT_EQ(sectionControl.master, SectionMaster::Off);
    EXPECT_EQ(appState.work.pointASet, 0);
    // Off the bar a tap sets A, as it always has.
    tapMap();
    EXPECT_EQ(appState.work.pointASet, 1);
}

TEST_F(SectionBarTouchTest, WithoutSectionControlTheBarsPlaceIsMap) {
    const ButtonRect master = sectionBarPlace().master;
    configureSections(*parseSectionLayout("", 1, 1200).layout, SectionRules{}, false);
    tapCentre(master);
    EXPECT_EQ(appState.work.pointASet, 1);
    EXPECT_EQ(sectionControl.master, SectionMaster::Auto);
}

}  // namespace
}  // namespace screens_test
