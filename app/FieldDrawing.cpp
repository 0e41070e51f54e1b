#include "app/FieldDrawing.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/AppState.h"
#include "app/FieldWork.h"
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

// The boundary wider than the implement's one-pixel edge lines at every scale, the headland's
// dashes finer: the boundary is what the driver must not cross. Each is drawn as that many
// one-pixel lines, so a wider line costs every frame a field is in view.
int boundaryWidth() {
    return std::max(2, int(appState.layout.layoutScale) / 2 + 1);
}
int headlandWidth() {
    return std::max(1, int(appState.layout.layoutScale) / 2);
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

// One screen segment of a ring; a dashed one carries its dash on from the segment before.
void drawRingSegment(gfx::Rasterizer& r, ScreenPoint a, ScreenPoint b, gfx::Pixel colour, int width,
                     bool dashed, double& phase) {
    if (!dashed) {
        strokeLine(r, a, b, colour, width);
        return;
    }
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    double t = 0.0;
    while (t < length) {
        const double inDash = std::fmod(phase + t, 2.0 * kDash);
        const double run = std::min(length - t, (inDash < kDash ? kDash : 2.0 * kDash) - inDash);
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

// How far (pixels) a ring's point may lie off the straight stroke drawn in its place: the
// screen's own truncation to whole pixels moves the points as far.
constexpr double kStrokeTolerance = 1.0;

double distanceToSegment(GroundPoint p, GroundPoint a, GroundPoint b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

// A field's ring has thousands of points, a pixel or less apart when the whole field is in
// view, and every stroke is as many lines as the line is wide. The ring is thinned once, the
// way Douglas and Peucker thin a line, and each point keeps the largest distance (dm) a
// stroke may pass from the ring at which the point is still needed; a frame then draws only
// the points needed at its zoom, through points its strokes pass within kStrokeTolerance of.
struct ThinnedRing {
    std::vector<GroundPoint> points;  // the ring thinned, to know it again
    std::vector<double> neededUpTo;   // dm, for each point
};

void thin(ThinnedRing& thinned, const std::vector<GroundPoint>& ring) {
    thinned.points = ring;
    const std::size_t n = ring.size();
    thinned.neededUpTo.assign(n, 0.0);
    if (n == 0) return;
    // The ring splits at its first point and the point farthest from it, both always drawn.
    std::size_t far = 0;
    double farthest = -1.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double d = std::hypot(ring[i].x - ring[0].x, ring[i].y - ring[0].y);
        if (d > farthest) farthest = d, far = i;
    }
    constexpr double kAlways = 1e300;
    thinned.neededUpTo[0] = kAlways;
    thinned.neededUpTo[far] = kAlways;
    struct Span {
        std::size_t from, to;  // to may be n: the ring's first point again
        double parent;
    };
    std::vector<Span> spans{{0, far, kAlways}, {far, n, kAlways}};
    while (!spans.empty()) {
        const Span span = spans.back();
        spans.pop_back();
        if (span.to - span.from < 2) continue;
        const GroundPoint a = ring[span.from], b = ring[span.to % n];
        std::size_t worst = span.from + 1;
        double worstDistance = -1.0;
        for (std::size_t i = span.from + 1; i < span.to; ++i) {
            const double d = distanceToSegment(ring[i], a, b);
            if (d > worstDistance) worstDistance = d, worst = i;
        }
        // A point is needed no further than the split that brings it into play.
        const double needed = std::min(worstDistance, span.parent);
        thinned.neededUpTo[worst] = needed;
        spans.push_back({span.from, worst, needed});
        spans.push_back({worst, span.to, needed});
    }
}

// The thinned rings of the field in view, kept by the thread that draws (each frame is drawn
// under the frame lock, but the review draws its own), and thinned again when a ring changes.
const ThinnedRing& thinnedRing(std::size_t index, const std::vector<GroundPoint>& ring) {
    thread_local std::vector<ThinnedRing> rings;
    if (rings.size() <= index) rings.resize(index + 1);
    ThinnedRing& thinned = rings[index];
    const bool same = thinned.points.size() == ring.size() &&
                      (ring.empty() || std::memcmp(thinned.points.data(), ring.data(),
                                                   ring.size() * sizeof(GroundPoint)) == 0);
    if (!same) thin(thinned, ring);
    return thinned;
}

// A ring as screen strokes, those outside the view left out; dashed rings carry their dash
// from one stroke to the next, so that a ring of short segments is dashed all the same.
void drawRing(gfx::Rasterizer& r, const ThinnedRing& ring, const GroundBox& view, gfx::Pixel colour,
              int width, bool dashed) {
    const std::vector<GroundPoint>& points = ring.points;
    const std::size_t n = points.size();
    if (n == 0) return;
    const double tolerance = kStrokeTolerance / std::max(double(appState.settings.zoom), 1e-6);
    double phase = 0.0;
    GroundPoint from = points[0];
    ScreenPoint a{};
    bool haveA = false;
    // The last stroke closes the ring at its first point.
    for (std::size_t i = 1; i <= n; ++i) {
        const std::size_t k = i < n ? i : 0;
        if (k != 0 && ring.neededUpTo[k] <= tolerance) continue;
        const GroundPoint to = points[k];
        if (!segmentMeets(from, to, view)) {
            from = to;
            haveA = false;
            phase = 0.0;
            continue;
        }
        if (!haveA) a = worldToScreen(PlanePoint{from.x, from.y});
        const ScreenPoint b = worldToScreen(PlanePoint{to.x, to.y});
        drawRingSegment(r, a, b, colour, width, dashed, phase);
        from = to;
        a = b;
        haveA = true;
    }
}

}  // namespace

bool boundaryBeingDriven() {
    return workField.recorder.has_value();
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
    const FieldWork& field = workField;
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
    const FieldWork& field = workField;
    const GroundBox view = viewedGround(8);
    if (field.inPlane) {
        std::size_t index = 0;
        for (const PlaneRing& ring : field.shape.headland) {
            if (ring.box.meets(view))
                drawRing(r, thinnedRing(index, ring.points), view, kBoundaryColour, headlandWidth(),
                         true);
            ++index;
        }
        for (const PlaneRing& ring : field.shape.boundary) {
            if (ring.box.meets(view))
                drawRing(r, thinnedRing(index, ring.points), view, kBoundaryColour, boundaryWidth(),
                         false);
            ++index;
        }
    }
    if (!field.recorder) return;
    // The boundary driven so far, open: it closes at its start.
    const std::vector<GroundPoint>& points = field.recorder->points();
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        if (!segmentMeets(points[i], points[i + 1], view)) continue;
        strokeLine(r, worldToScreen(PlanePoint{points[i].x, points[i].y}),
                   worldToScreen(PlanePoint{points[i + 1].x, points[i + 1].y}), kBoundaryColour,
                   boundaryWidth());
    }
    const ButtonRect button = finishBoundaryButton();
    r.FillRect(button.left, button.top, button.right, button.bottom, kBoundaryColour);
    r.DrawString(appState.layout.font, messageText(kMsgFinishBoundary), gfx::kAlignCentre, 0,
                 button.top + (button.bottom - button.top - textLineHeight()) / 2, kBoundaryInk);
}

int drawFieldWarnings(gfx::Rasterizer& r, int y) {
    const FieldWork& field = workField;
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
