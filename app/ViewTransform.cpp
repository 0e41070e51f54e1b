// The view: the plane turned so that the vehicle heads up the screen (or north up), scaled by the
// zoom and shifted so that the vehicle is at the screen's centre; and the work's points on it.
#include "app/ViewTransform.h"

#include <algorithm>
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

ScreenPoint firstEnd(const TrackEdge& edge) {
    return worldToScreen(PlanePoint{edge.leftX, edge.leftY});
}
ScreenPoint secondEnd(const TrackEdge& edge) {
    return worldToScreen(PlanePoint{edge.rightX, edge.rightY});
}

bool isPauseMark(std::uint32_t fix) {
    const auto& marks = appState.work.pauseMarks;
    // Marks are appended as the count grows, so they are in order.
    return std::binary_search(marks.begin(), marks.end(), fix);
}

// Fills screenQuads from the newest stored segment back; a segment ending at a fix where the
// driver paused is listed in screenGaps instead.
void walkTrack() {
    AppState& s = appState;
    s.view.screenGaps.clear();
    int i = 0;
    const StripRecord& edges = s.work.strips;
    for (std::size_t n = s.work.strips.size(); n >= 2 && i <= kLastQuadIndex; --n) {
        if (isPauseMark(std::uint32_t(n - 1))) {
            s.view.screenGaps.push_back(std::uint16_t(i));
            continue;
        }
        const TrackEdge& older = edges[n - 2];
        const TrackEdge& newer = edges[n - 1];
        s.view.screenQuads[i] = secondEnd(older);
        s.view.screenQuads[i + 1] = firstEnd(older);
        s.view.screenQuads[i + 2] = firstEnd(newer);
        s.view.screenQuads[i + 3] = secondEnd(newer);
        i += 4;
    }
    s.view.walkedQuadEnd = i;
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

    walkTrack();
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
