// The view: the plane turned so that the vehicle heads up the screen (or north up), scaled by the
// zoom and shifted so that the vehicle is at the screen's centre; and the work's points on it.
#include "app/ViewTransform.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "app/AppState.h"

namespace {

ScreenPoint scaleToScreen(std::int32_t x, std::int32_t y) {
    const AppState& s = appState;
    const std::int32_t sx = screenTruncate(float(x) * s.settings.zoom);
    const std::int32_t sy = screenTruncate(float(y) * s.settings.zoom);
    return {std::int32_t(std::int64_t(sx) + s.view.offsetX),
            std::int32_t(std::int64_t(s.view.offsetY) - sy)};
}

}  // namespace

// The plane keeps fractions of a decimetre; the screen takes whole decimetres, truncated as the
// guide lines' points are, so track and lines meet as they always have.
ScreenPoint worldToScreen(PlanePoint point) {
    const AppState& s = appState;
    if (s.view.northUp) return scaleToScreen(screenTruncate(point.x), screenTruncate(point.y));
    const float x = float(point.x);
    const float y = float(point.y);
    return scaleToScreen(screenTruncate(x * s.view.cos - y * s.view.sin),
                         screenTruncate(x * s.view.sin + y * s.view.cos));
}

ScreenPoint worldToScreen(Vec2 point) {
    const AppState& s = appState;
    if (s.view.northUp) return scaleToScreen(screenTruncate(point.x), screenTruncate(point.y));
    const double c = s.view.cos;
    const double sn = s.view.sin;
    return scaleToScreen(screenTruncate(point.x * c - point.y * sn),
                         screenTruncate(point.x * sn + point.y * c));
}

void recomputeView() {
    AppState& s = appState;
    if (s.view.northUp) {
        s.view.sin = 0.0f;
        s.view.cos = 1.0f;
    } else {
        s.view.sin = s.heading.east;
        s.view.cos = s.heading.north;
    }
    const float px = float(s.work.position.x);
    const float py = float(s.work.position.y);
    const std::int32_t rx = screenTruncate(px * s.view.cos - py * s.view.sin);
    const std::int32_t ry = screenTruncate(py * s.view.cos + px * s.view.sin);
    const std::int32_t sx = screenTruncate(float(rx) * s.settings.zoom);
    const std::int32_t sy = screenTruncate(float(ry) * s.settings.zoom);
    s.view.offsetX = std::int32_t(std::int64_t(s.layout.halfScreenWidth) - sx);
    s.view.offsetY = std::int32_t(std::int64_t(s.layout.halfScreenHeight) + sy);

    for (int k = 0; k < 6; ++k)
        s.view.guideLinesScreen[k] = worldToScreen(s.guide.guideLinesWorld[k]);
    if (s.ui.screenState == kStateSettingAB && s.work.pointASet)
        s.view.pointAScreen = worldToScreen(s.work.pointA);
    if (s.work.curveActive) {
        for (int k = 0; k < 3; ++k) {
            s.view.curveLinesScreen[k].clear();
            for (const Vec2& p : s.guide.curveLinesWorld[k])
                s.view.curveLinesScreen[k].push_back(worldToScreen(p));
        }
    }
    s.view.curveRecordScreen.clear();
    if (s.ui.screenState == kStateSettingAB)
        for (const Vec2& p : s.work.curveRecording)
            s.view.curveRecordScreen.push_back(worldToScreen(p));
}

GroundBox viewedGround(int margin) {
    const AppState& s = appState;
    const double zoom = std::max(double(s.settings.zoom), 1e-6);
    const double c = s.view.northUp ? 1.0 : double(s.view.cos);
    const double sn = s.view.northUp ? 0.0 : double(s.view.sin);
    // The heading's sine and cosine are a unit pair only to float precision; the box grows to
    // hold what a slightly longer pair would show.
    const double norm = std::max(std::hypot(c, sn), 1e-6);
    GroundBox box{1e300, 1e300, -1e300, -1e300};
    const double xs[2] = {-double(margin), double(s.layout.screenWidthLimit) + margin};
    const double ys[2] = {-double(margin), double(s.layout.screenHeightLimit) + margin};
    for (double sx : xs) {
        for (double sy : ys) {
            const double rx = (sx - s.view.offsetX) / zoom;
            const double ry = (s.view.offsetY - sy) / zoom;
            const double x = (rx * c + ry * sn) / (norm * norm);
            const double y = (-rx * sn + ry * c) / (norm * norm);
            box.minX = std::min(box.minX, x);
            box.minY = std::min(box.minY, y);
            box.maxX = std::max(box.maxX, x);
            box.maxY = std::max(box.maxY, y);
        }
    }
    // Screen points are truncated to whole decimetres and pixels on the way.
    const double pad = 2.0 + 2.0 / zoom + 1e-3 * (box.maxX - box.minX + box.maxY - box.minY);
    return {box.minX - pad, box.minY - pad, box.maxX + pad, box.maxY + pad};
}
