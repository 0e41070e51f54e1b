#include "WorkScene.h"

#include <cmath>

#include "app/DashedLine.h"
#include "app/ImageTable.h"
#include "app/Layout.h"
#include "app/WorkScreen.h"
#include "gfx/Font.h"

namespace workscene {

void reset(int width, int height, std::uint32_t orientation) {
    AppState& s = appState;
    s.screenWidth = std::uint16_t(width);
    s.screenHeight = std::uint16_t(height);
    s.orientation = orientation;
    computeScreenMetrics();
    computeLayout();
    freeScreenImages();
    s.dashLine = new DashedLine({10, 10});
    s.font = patternFont();

    s.zoom = 1.0f;
    s.implementHalfWidth = 600;
    s.implementWidth = 1200;
    s.arrowTolerance = 10;
    s.showGuideNumbers = 1;
    s.textColor = 0x00FF0000;
    s.trackColor = 0x0084EFFB;
    s.backgroundColor = 0x0025C9A0;
    s.showVehicle = 1;
    s.vehicleScaleIndex = 0;
    s.screenState = kStateFreeWork;
    s.paused = 0;
    s.abReady = 0;
    s.pictureBackground = 0;
    s.soundCountdown = 0;
    s.promptBlink = 0;
    s.workFull = 0;
    s.northUp = 0;
    s.pointASet = 0;
    s.pointA = {};
    s.pointB = {};
    s.pointAScreen = {};
    s.position = {};
    s.previousPosition = {};
    s.headingEast = 0.0f;
    s.headingNorth = 1.0f;
    s.fixCount = 0;
    for (ScreenPoint& p : s.screenQuads) p = {};
    s.screenGaps.clear();
    s.pauseMarks.clear();
    for (Vec2& p : s.guideLinesWorld) p = {};
    for (ScreenPoint& p : s.guideLinesScreen) p = {};
    s.crossTrack = 0.0;
    s.guideNumber = 0;
    s.arrowCount = 0;
    s.steerLeft = 0;
    s.language = 0;
}

void drive(const std::vector<PlanePoint>& path) {
    AppState& s = appState;
    const double half = s.implementHalfWidth * 0.1;
    double ux = 0.0, uy = 1.0;
    int count = 0;
    for (std::size_t k = 0; k < path.size(); ++k) {
        if (k + 1 < path.size()) {
            const double dx = path[k + 1].x - path[k].x;
            const double dy = path[k + 1].y - path[k].y;
            const double len = std::sqrt(dx * dx + dy * dy);
            if (len > 0.0) ux = dx / len, uy = dy / len;
        }
        const std::int32_t offX = std::int32_t(half * uy);
        const std::int32_t offY = std::int32_t(half * ux);
        s.trackEdges[count++] = {path[k].x - offX, path[k].y + offY, path[k].x + offX,
                                 path[k].y - offY};
    }
    s.fixCount = std::uint16_t(count);
    if (!path.empty()) s.position = path.back();
    s.headingEast = float(ux);
    s.headingNorth = float(uy);
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
    const Vec2 p{double(s.position.x), double(s.position.y)};
    const Vec2 heading{s.headingEast, s.headingNorth};
    // Lines are numbered to the right of A as seen from A towards B.
    const double right = -((p - a).x * left.x + (p - a).y * left.y);
    const int line = int(std::lround(right / spacing));
    const double along = (p - a).x * direction.x + (p - a).y * direction.y;
    const Vec2 foot = a + (-line * spacing) * left + along * direction;
    const double offset = right - line * spacing;  // positive: right of the line from A to B
    const bool withAB = heading.x * direction.x + heading.y * direction.y > 0.0;
    s.crossTrack = withAB ? offset : -offset;
    s.guideNumber = line;
    s.arrowCount = std::uint8_t(std::fabs(s.crossTrack) / s.arrowTolerance);
    s.steerLeft = s.crossTrack > 0.0;
    const Vec2 d = double(s.zoom * 1500.0f) * direction;
    const Vec2 sp = spacing * left;
    const Vec2 ends[6] = {foot + d,      foot - d,      foot + d + sp,
                          foot - d + sp, foot + d - sp, foot - d - sp};
    for (int k = 0; k < 6; ++k) s.guideLinesWorld[k] = ends[k];
    s.abReady = 1;
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
