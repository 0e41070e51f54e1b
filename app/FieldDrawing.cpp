#include "app/FieldDrawing.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/AppState.h"
#include "app/Layout.h"
#include "app/Palette.h"
#include "app/Texts.h"
#include "app/ViewTransform.h"
#include "gfx/Font.h"
#include "gfx/Rasterizer.h"

namespace {

// The boundary stands out from every track colour the pages offer, by day and by night.
constexpr gfx::Pixel kBoundaryColour = gfx::pixelFromRgb(255, 150, 0);
constexpr gfx::Pixel kBoundaryInk = 0x0000;
constexpr gfx::Pixel kWarningRed = 0xF800;
// The headland's dashes, in pixels drawn and skipped.
constexpr int kDash = 10;

int lineWidth() {
    return std::max(1, int(appState.layout.layoutScale));
}

// The earlier works' colour: the track's, half way to the background.
gfx::Pixel dimmedTrack() {
    const std::uint32_t a = screenTrackColor(), b = screenBackgroundColor();
    std::uint32_t mixed = 0;
    for (int shift = 0; shift < 24; shift += 8)
        mixed |= ((((a >> shift) & 0xFF) + ((b >> shift) & 0xFF)) / 2) << shift;
    return gfx::pixelFromColorRef(mixed);
}

// A line of width pixels: copies of the one-pixel line side by side, across its run.
void strokeLine(gfx::Rasterizer& r, ScreenPoint a, ScreenPoint b, gfx::Pixel colour, int width) {
    const bool flat = std::abs(std::int64_t(b.x) - a.x) >= std::abs(std::int64_t(b.y) - a.y);
    for (int i = 0; i < width; ++i) {
        const int d = i - width / 2;
        if (flat)
            r.DrawLine(a.x, a.y + d, b.x, b.y + d, colour);
        else
            r.DrawLine(a.x + d, a.y, b.x + d, b.y, colour);
    }
}

bool segmentMeets(GroundPoint a, GroundPoint b, const GroundBox& view) {
    return std::max(a.x, b.x) >= view.minX && std::min(a.x, b.x) <= view.maxX &&
           std::max(a.y, b.y) >= view.minY && std::min(a.y, b.y) <= view.maxY;
}

// A ring as screen segments, those outside the view left out; dashed rings carry their dash
// from one segment to the next, so that a ring of short segments is dashed all the same.
void drawRing(gfx::Rasterizer& r, const std::vector<GroundPoint>& ring, const GroundBox& view,
              gfx::Pixel colour, int width, bool dashed) {
    double phase = 0.0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const GroundPoint from = ring[i], to = ring[(i + 1) % ring.size()];
        if (!segmentMeets(from, to, view)) {
            phase = 0.0;
            continue;
        }
        const ScreenPoint a = worldToScreen(PlanePoint{from.x, from.y});
        const ScreenPoint b = worldToScreen(PlanePoint{to.x, to.y});
        if (!dashed) {
            strokeLine(r, a, b, colour, width);
            continue;
        }
        const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
        const double length = std::sqrt(dx * dx + dy * dy);
        double t = 0.0;
        while (t < length) {
            const double inDash = std::fmod(phase + t, 2.0 * kDash);
            const double run =
                std::min(length - t, (inDash < kDash ? kDash : 2.0 * kDash) - inDash);
            if (inDash < kDash) {
                const ScreenPoint p{std::int32_t(a.x + dx * t / length),
                                    std::int32_t(a.y + dy * t / length)};
                const ScreenPoint q{std::int32_t(a.x + dx * (t + run) / length),
                                    std::int32_t(a.y + dy * (t + run) / length)};
                strokeLine(r, p, q, colour, width);
            }
            t += run;
        }
        phase = std::fmod(phase + length, 2.0 * kDash);
    }
}

}  // namespace

bool boundaryBeingDriven() {
    return appState.field.recorder.has_value();
}

ButtonRect finishBoundaryButton() {
    const ScreenLayout& layout = appState.layout;
    const int cell = layout.font ? layout.font->cellWidth() : 9;
    const int width = (int(std::strlen(messageText(kMsgFinishBoundary))) + 4) * cell;
    const int height = 2 * textLineHeight();
    const int left = (int(layout.screenWidth) - width) / 2;
    const int top = int(layout.screenHeight) * 3 / 4 - height / 2;
    return {left, top, left + width, top + height};
}

void drawFieldBeneath(gfx::Rasterizer& r) {
    const FieldWork& field = appState.field;
    if (!field.inPlane || field.earlier.size() == 0) return;
    const gfx::Pixel fill = dimmedTrack();
    std::vector<std::uint32_t>& ids = appState.view.quadsInView;
    field.earlier.quadsMeeting(viewedGround(0), ids);
    for (std::uint32_t id : ids) {
        const StripQuad& q = field.earlier.quad(id);
        const ScreenPoint p[3] = {worldToScreen(PlanePoint{q.olderLeft.x, q.olderLeft.y}),
                                  worldToScreen(PlanePoint{q.olderRight.x, q.olderRight.y}),
                                  worldToScreen(PlanePoint{q.newerLeft.x, q.newerLeft.y})};
        const gfx::Point corners[3] = {{p[0].x, p[0].y}, {p[1].x, p[1].y}, {p[2].x, p[2].y}};
        r.FillConvex(corners, 3, fill, true);
    }
}

void drawFieldLines(gfx::Rasterizer& r) {
    const FieldWork& field = appState.field;
    const int width = lineWidth();
    const GroundBox view = viewedGround(8);
    if (field.inPlane) {
        for (const PlaneRing& ring : field.shape.headland)
            if (ring.box.meets(view)) drawRing(r, ring.points, view, kBoundaryColour, width, true);
        for (const PlaneRing& ring : field.shape.boundary)
            if (ring.box.meets(view))
                drawRing(r, ring.points, view, kBoundaryColour, 2 * width, false);
    }
    if (!field.recorder) return;
    // The boundary driven so far, open: it closes at its start.
    const std::vector<GroundPoint>& points = field.recorder->points();
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        if (!segmentMeets(points[i], points[i + 1], view)) continue;
        strokeLine(r, worldToScreen(PlanePoint{points[i].x, points[i].y}),
                   worldToScreen(PlanePoint{points[i + 1].x, points[i + 1].y}), kBoundaryColour,
                   2 * width);
    }
    const ButtonRect button = finishBoundaryButton();
    r.FillRect(button.left, button.top, button.right, button.bottom, kBoundaryColour);
    r.DrawString(appState.layout.font, messageText(kMsgFinishBoundary), gfx::kAlignCentre, 0,
                 button.top + (button.bottom - button.top - textLineHeight()) / 2, kBoundaryInk);
}

int drawFieldWarnings(gfx::Rasterizer& r, int y) {
    const FieldWork& field = appState.field;
    if (!field.inPlane || appState.ui.paused) return y;
    if (field.boundaryAhead) {
        r.DrawString(appState.layout.font, messageText(kMsgBoundaryAhead), gfx::kAlignCentre, 0, y,
                     kWarningRed);
        y += textLineHeight();
    }
    if (field.inHeadland) {
        r.DrawString(appState.layout.font, messageText(kMsgHeadland), gfx::kAlignCentre, 0, y,
                     kBoundaryColour);
        y += textLineHeight();
    }
    return y;
}
