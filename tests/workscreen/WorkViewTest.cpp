// The view transform, the walk over the stored track, the scaled vehicle and the dashed leg.
#include <gtest/gtest.h>

#include <cmath>

#include "WorkScene.h"
#include "app/DashedLine.h"
#include "app/ViewTransform.h"
#include "app/WorkScreen.h"
#include "guidance/WorkedStrip.h"

namespace {

using workscene::Canvas;

struct ViewCase {
    const char* name;
    float headingDegrees;  // clockwise from north
    bool northUp;
    float zoom;
    PlanePoint position;
};

class WorkView : public ::testing::TestWithParam<ViewCase> {};

// Wherever the vehicle is and however the map turns, it is drawn at the screen centre, what
// lies ahead of it is above the centre in the heading-up view, and the view turns the right way.
TEST_P(WorkView, VehicleAtCentreAndMapTurnsWithTheView) {
    const ViewCase& c = GetParam();
    workscene::reset(240, 320, 0);
    AppState& s = appState;
    const float angle = c.headingDegrees * float(M_PI) / 180.0f;
    s.heading.east = std::sin(angle);
    s.heading.north = std::cos(angle);
    s.view.northUp = c.northUp;
    s.settings.zoom = c.zoom;
    s.work.position = c.position;
    recomputeView();

    const ScreenPoint centre = worldToScreen(s.work.position);
    EXPECT_EQ(centre.x, 120);
    EXPECT_EQ(centre.y, 160);
    const ScreenPoint centreD = worldToScreen(Vec2{double(c.position.x), double(c.position.y)});
    // Double points turn in double precision, so truncation may land a decimetre apart.
    EXPECT_NEAR(centreD.x, 120, c.zoom + 1.0f);
    EXPECT_NEAR(centreD.y, 160, c.zoom + 1.0f);

    const double d = 40.0;  // dm
    const PlanePoint ahead{c.position.x + std::int32_t(std::lround(d * s.heading.east)),
                           c.position.y + std::int32_t(std::lround(d * s.heading.north))};
    const PlanePoint north{c.position.x, c.position.y + 40};
    const PlanePoint east{c.position.x + 40, c.position.y};
    const double px = d * c.zoom;
    const double slack = 2.0 * c.zoom + 2.0;
    if (c.northUp) {
        EXPECT_NEAR(worldToScreen(north).x, 120, 1);
        EXPECT_NEAR(worldToScreen(north).y, 160 - px, slack);
        EXPECT_NEAR(worldToScreen(east).x, 120 + px, slack);
        EXPECT_NEAR(worldToScreen(east).y, 160, 1);
    } else {
        EXPECT_NEAR(worldToScreen(ahead).x, 120, slack);
        EXPECT_NEAR(worldToScreen(ahead).y, 160 - px, slack);
        // Turning right (heading east of north) brings north to the left of the screen.
        if (c.headingDegrees > 0 && c.headingDegrees < 180) {
            EXPECT_LT(worldToScreen(north).x, 120);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Views, WorkView,
    ::testing::Values(ViewCase{"north_heading_up", 0.0f, false, 1.0f, {0, 0}},
                      ViewCase{"east_heading_up", 90.0f, false, 3.0f, {1234, -5678}},
                      ViewCase{"southwest_heading_up", 225.0f, false, 2.5f, {-40000, 30000}},
                      ViewCase{"shallow_heading_up", 20.0f, false, 12.9f, {777, 999}},
                      ViewCase{"north_up_far", 135.0f, true, 0.19f, {250000, -250000}},
                      ViewCase{"north_up_zoomed", 300.0f, true, 13.0f, {-15, 42}}),
    [](const auto& info) { return info.param.name; });

// A straight northward track in the north-up view at zoom 1: fix k lies at y = 10k, so the
// segment from fix k to k + 1 covers screen rows centred on y = 160 - (10k + 5) + 10 * last.
void northwardTrack(int fixes) {
    workscene::reset(240, 320, 0);
    appState.view.northUp = 1;
    workscene::drive(workscene::straight({0, 0}, {0.0, 1.0}, fixes, 10.0));
}

gfx::Pixel segmentPixel(const Canvas& canvas, int older, int fixes) {
    const int y = 160 + 10 * (fixes - 1) - (10 * older + 5);
    return canvas.at(120, y);
}

// The segment that spans a pause is not painted; every other one is, the last one before the
// pause included.
TEST(WorkTrack, PauseLeavesAGap) {
    northwardTrack(6);
    appState.work.pauseMarks = {3};  // paused with fixes 0..2 stored; fix 3 came after resuming
    coverAllRecords(appState.work);
    recomputeView();

    Canvas canvas(240, 320);
    drawWorkScreen(*canvas.raster);
    const gfx::Pixel track = gfx::pixelFromColorRef(appState.settings.trackColor);
    EXPECT_EQ(segmentPixel(canvas, 0, 6), track);
    EXPECT_EQ(segmentPixel(canvas, 1, 6), track) << "the last segment before the pause";
    EXPECT_EQ(segmentPixel(canvas, 2, 6), 0) << "segment across the pause";
    EXPECT_EQ(segmentPixel(canvas, 3, 6), track);
    EXPECT_EQ(segmentPixel(canvas, 4, 6), track);
}

// Zoomed out over a long work, the oldest strip is drawn as the newest is: 20 000 fixes 10 dm
// apart north from (0, 0), the vehicle at the last one, drawn at the screen's centre at a zoom
// where the whole drive (20 km) spans the 150 rows below it.
TEST(WorkTrack, ALongWorkZoomedOutIsDrawnWhole) {
    for (const bool northUp : {true, false}) {
        northwardTrack(20000);
        appState.view.northUp = northUp ? 1 : 0;
        appState.settings.zoom = 150.0f / 200000.0f;
        recomputeView();
        Canvas canvas(240, 320);
        drawWorkScreen(*canvas.raster);
        const gfx::Pixel track = gfx::pixelFromColorRef(appState.settings.trackColor);
        // The strip is 120 dm wide, a tenth of a pixel: a line down the centre column.
        int drawn = 0;
        for (int y = 165; y < 309; ++y)
            if (canvas.at(120, y) == track) ++drawn;
        EXPECT_EQ(drawn, 309 - 165) << (northUp ? "north up" : "heading up");
        // Beside it, and beyond the oldest fix, nothing.
        EXPECT_NE(canvas.at(126, 200), track);
        EXPECT_NE(canvas.at(120, 313), track);
    }
}

struct VehicleCase {
    float zoom;
    std::uint8_t scaleIndex;
    int width;
    int height;  // 0 x 0: no picture
};

// The picture is 200 pixels per metre; scale 0 at zoom z shows it at z / 20 of its size, and a
// size that truncates to nothing leaves no picture (and nothing divides by it).
TEST(WorkVehicle, ScaledToZoomAndChoice) {
    const VehicleCase cases[] = {
        {3.0f, 0, 75, 105},                        // 500 x 700 source at 0.15
        {1.0f, 4, 200, 280},                       // 0.4
        {13.0f, 2, 1300, 1820}, {0.19f, 0, 4, 6},  // 0.0095: still a few pixels
        {0.0019f, 0, 0, 0},                        // below a pixel
        {3.0f, 9, 75, 105},                        // a scale past the table is real size
    };
    workscene::reset(240, 320, 0);
    gfx::Surface* source = gfx::CreateSurface(500, 700);
    gfx::Rasterizer(source).Clear(0x07E0);
    appState.layout.vehicleSource = source;
    for (const VehicleCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "zoom " << c.zoom << " scale " << int(c.scaleIndex));
        appState.settings.zoom = c.zoom;
        appState.settings.vehicleScaleIndex = c.scaleIndex;
        rebuildVehicleImage();
        const gfx::Surface* v = appState.layout.vehicleImage;
        if (c.width == 0) {
            EXPECT_EQ(v, nullptr);
            Canvas canvas(240, 320);
            drawWorkScreen(*canvas.raster);  // draws no vehicle, and does not fault
            continue;
        }
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(v->width(), c.width);
        EXPECT_EQ(v->height(), c.height);
        EXPECT_EQ(v->colourKey, 0xF81F);
        EXPECT_EQ(v->pixel(c.width / 2, c.height / 2), 0x07E0);
    }
    appState.settings.vehicleScaleIndex = 0;
}

// The heading-up vehicle stands with the middle of its bottom edge on the position; the
// north-up one turns about that point.
TEST(WorkVehicle, BottomCentreOnThePosition) {
    workscene::reset(240, 320, 0);
    gfx::Surface* source = gfx::CreateSurface(400, 800);  // 20 x 40 at zoom 1
    gfx::Rasterizer(source).Clear(0x07E0);
    appState.layout.vehicleSource = source;
    rebuildVehicleImage();
    for (int northUp = 0; northUp < 2; ++northUp) {
        appState.view.northUp = std::uint8_t(northUp);
        appState.heading.east = 1.0f;  // east: the north-up picture lies on its side
        appState.heading.north = 0.0f;
        Canvas canvas(240, 320);
        drawWorkScreen(*canvas.raster);
        if (!northUp) {
            EXPECT_EQ(canvas.at(110, 120), 0x07E0);
            EXPECT_EQ(canvas.at(129, 159), 0x07E0);
            EXPECT_EQ(canvas.at(109, 150), 0);
            EXPECT_EQ(canvas.at(120, 160), 0);
        } else {
            EXPECT_EQ(canvas.at(155, 155), 0x07E0);
            EXPECT_EQ(canvas.at(120, 140), 0);
        }
    }
}

// Ten pixels drawn, ten skipped, starting with a drawn run; the last run reaches the end.
TEST(WorkDashedLine, RunsOfTenAlongTheLeg) {
    Canvas canvas(100, 100);
    DashedLine dash({10, 10});
    dash.draw(*canvas.raster, {0, 50}, {45, 50}, 0xFFFF);
    const int drawn[] = {1, 5, 9, 21, 29, 41, 44};
    const int skipped[] = {12, 15, 18, 32, 38, 47, 60};
    for (int x : drawn) EXPECT_EQ(canvas.at(x, 50), 0xFFFF) << x;
    for (int x : skipped) EXPECT_EQ(canvas.at(x, 50), 0) << x;
    // Five pixels wide.
    EXPECT_EQ(canvas.at(5, 48), 0xFFFF);
    EXPECT_EQ(canvas.at(5, 52), 0xFFFF);
    EXPECT_EQ(canvas.at(5, 45), 0);

    // Steep legs step along y; a new leg starts its pattern afresh.
    Canvas steep(100, 100);
    dash.draw(*steep.raster, {50, 90}, {53, 61}, 0xFFFF);
    EXPECT_EQ(steep.at(50, 87), 0xFFFF);
    EXPECT_EQ(steep.at(51, 75), 0);
    EXPECT_EQ(steep.at(52, 66), 0xFFFF);
}

}  // namespace
