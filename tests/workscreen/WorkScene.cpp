#include "WorkScene.h"

#include <cmath>

#include "app/DashedLine.h"
#include "app/ImageTable.h"
#include "app/Layout.h"
#include "app/WorkScreen.h"
#include "gfx/Font.h"
#include "guidance/WorkedStrip.h"

namespace workscene {

void reset(int width, int height, std::uint32_t orientation) {
    AppState& s = appState;
    s.layout.screenWidth = std::uint16_t(width);
    s.layout.screenHeight = std::uint16_t(height);
    s.layout.orientation = orientation;
    computeScreenMetrics();
    computeLayout();
    freeScreenImages();
    s.layout.dashLine = new DashedLine({10, 10});
    s.layout.font = patternFont();

    s.settings.zoom = 1.0f;
    s.settings.implementHalfWidth = 600;
    s.settings.implementWidth = 1200;
    s.settings.arrowTolerance = 10;
    s.settings.showGuideNumbers = 1;
    s.settings.textColor = 0x00FF0000;
    s.settings.trackColor = 0x0084EFFB;
    s.settings.backgroundColor = 0x0025C9A0;
    s.settings.showVehicle = 1;
    s.settings.vehicleScaleIndex = 0;
    s.ui.screenState = kStateFreeWork;
    s.ui.paused = 0;
    s.ui.abReady = 0;
    s.ui.pictureBackground = 0;
    s.ui.soundCountdown = 0;
    s.ui.promptBlink = 0;
    s.ui.promptShown = 0;
    s.work.workFull = 0;
    s.view.northUp = 0;
    s.work.pointASet = 0;
    s.work.pointA = {};
    s.work.pointB = {};
    s.view.pointAScreen = {};
    s.work.position = {};
    s.work.previousPosition = {};
    s.heading.east = 0.0f;
    s.heading.north = 1.0f;
    s.work.strips.clear();
    s.work.pauseMarks.clear();
    coverAllRecords(s.work);
    for (Vec2& p : s.guide.guideLinesWorld) p = {};
    for (ScreenPoint& p : s.view.guideLinesScreen) p = {};
    s.guide.crossTrack = 0.0;
    s.guide.guideNumber = 0;
    s.guide.arrowCount = 0;
    s.guide.steerLeft = 0;
    s.ui.language = 0;
}

void drive(const std::vector<PlanePoint>& path) {
    AppState& s = appState;
    const double half = s.settings.implementHalfWidth * 0.1;
    double ux = 0.0, uy = 1.0;
    s.work.strips.clear();
    for (std::size_t k = 0; k < path.size(); ++k) {
        if (k + 1 < path.size()) {
            const double dx = path[k + 1].x - path[k].x;
            const double dy = path[k + 1].y - path[k].y;
            const double len = std::sqrt(dx * dx + dy * dy);
            if (len > 0.0) ux = dx / len, uy = dy / len;
        }
        const std::int32_t offX = std::int32_t(half * uy);
        const std::int32_t offY = std::int32_t(half * ux);
        s.work.strips.push_back(
            {path[k].x - offX, path[k].y + offY, path[k].x + offX, path[k].y - offY});
    }
    coverAllRecords(s.work);
    if (!path.empty()) s.work.position = path.back();
    s.heading.east = float(ux);
    s.heading.north = float(uy);
}

std::vector<PlanePoint> straight(PlanePoint start, Vec2 direction, int count, double step) {
    std::vector<PlanePoint> path;
    for (int k = 0; k < count; ++k) {
        path.push_back({double(std::int32_t(start.x + direction.x * step * k)),
                        double(std::int32_t(start.y + direction.y * step * k))});
    }
    return path;
}

void guideAlong(Vec2 a, Vec2 direction, double spacing) {
    AppState& s = appState;
    const Vec2 left = direction.perpendicular();
    const Vec2 p{double(s.work.position.x), double(s.work.position.y)};
    const Vec2 heading{s.heading.east, s.heading.north};
    // Lines are numbered to the right of A as seen from A towards B.
    const double right = -((p - a).x * left.x + (p - a).y * left.y);
    const int line = int(std::lround(right / spacing));
    const double along = (p - a).x * direction.x + (p - a).y * direction.y;
    const Vec2 foot = a + (-line * spacing) * left + along * direction;
    const double offset = right - line * spacing;  // positive: right of the line from A to B
    const bool withAB = heading.x * direction.x + heading.y * direction.y > 0.0;
    s.guide.crossTrack = withAB ? offset : -offset;
    s.guide.guideNumber = line;
    s.guide.arrowCount = std::uint8_t(std::fabs(s.guide.crossTrack) / s.settings.arrowTolerance);
    s.guide.steerLeft = s.guide.crossTrack > 0.0;
    const Vec2 d = double(s.settings.zoom * 1500.0f) * direction;
    const Vec2 sp = spacing * left;
    const Vec2 ends[6] = {foot + d,      foot - d,      foot + d + sp,
                          foot - d + sp, foot + d - sp, foot - d - sp};
    for (int k = 0; k < 6; ++k) s.guide.guideLinesWorld[k] = ends[k];
    s.ui.abReady = 1;
}

Canvas::Canvas(int width, int height) : surface(gfx::CreateSurface(width, height)) {
    raster = std::make_unique<gfx::Rasterizer>(surface);
    raster->Clear(0);
}

Canvas::~Canvas() {
    raster.reset();
    gfx::DestroySurface(surface);
}

gfx::Font* patternFont() {
    static gfx::Font* font = [] {
        std::vector<std::uint8_t> bytes(gfx::Font::kSize);
        for (int c = 0; c < gfx::Font::kGlyphCount; ++c) {
            for (int r = 0; r < gfx::Font::kGlyphRows; ++r) bytes[c * 16 + r] = std::uint8_t(c);
        }
        return gfx::CreateFont(bytes);
    }();
    return font;
}

}  // namespace workscene
