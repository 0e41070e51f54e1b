#include "app/WorkScreen.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/DashedLine.h"
#include "app/FieldDrawing.h"
#include "app/InfoPanel.h"
#include "app/Layout.h"
#include "app/Palette.h"
#include "app/SectionBar.h"
#include "app/SectionControl.h"
#include "app/Texts.h"
#include "app/ViewTransform.h"
#include "gfx/Font.h"
#include "gfx/Rasterizer.h"
#include "gfx/Surface.h"

namespace {

constexpr gfx::Pixel kBlack = 0x0000;
constexpr gfx::Pixel kRed = 0xF800;
constexpr gfx::Pixel kVehicleKey = 0xF81F;
constexpr gfx::Pixel kReadoutGreen = gfx::pixelFromRgb(0, 176, 64);
constexpr gfx::Pixel kPlateDay = 0xFFFF;
constexpr gfx::Pixel kPlateNight = 0x0000;

// The vehicle picture's factor for each scale choice, at zoom 1: the picture is drawn at
// 200 pixels per metre and the zoom is pixels per decimetre, so 0.05 is real size. The factors
// are single-precision values, widened when they are used.
constexpr float kVehicleScales[] = {0.05f, 0.1f, 0.2f, 0.3f, 0.4f};

// A quad reaches the screen and its margin when its bounding box does. Asking only whether a
// corner lies there would drop a piece that spans the whole screen, as a wide implement's
// strip does when zoomed in: the worked strip would vanish under the vehicle.
bool quadOnScreen(const ScreenPoint* q) {
    const auto [left, right] = std::minmax({q[0].x, q[1].x, q[2].x, q[3].x});
    const auto [top, bottom] = std::minmax({q[0].y, q[1].y, q[2].y, q[3].y});
    return right >= 0 && left <= std::int32_t(appState.layout.screenWidthLimit) && bottom >= 0 &&
           top <= std::int32_t(appState.layout.screenHeightLimit);
}

// Works of up to this many quads are drawn whole; larger ones as far as the view reaches.
constexpr std::uint32_t kQuadsDrawnWhole = 4096;

// The finest simplified level of the strips whose tolerance is below a pixel; 0 (every quad)
// for a short work or a view close enough to tell the difference.
int drawingLevel() {
    const AppState& s = appState;
    if (s.work.coverage.size() <= kQuadsDrawnWhole) return 0;
    const double pixel = 1.0 / std::max(double(s.settings.zoom), 1e-6);
    for (int level = StripLevels::kLevels; level >= 1; --level)
        if (StripLevels::tolerance(level) <= pixel) return level;
    return 0;
}

// Filled, with the implement's side edges in black; a strip narrower than a pixel is a line.
void drawQuad(gfx::Rasterizer& r, const StripQuad& quad, gfx::Pixel fill, bool thin) {
    const ScreenPoint q[4] = {worldToScreen(PlanePoint{quad.olderRight.x, quad.olderRight.y}),
                              worldToScreen(PlanePoint{quad.olderLeft.x, quad.olderLeft.y}),
                              worldToScreen(PlanePoint{quad.newerLeft.x, quad.newerLeft.y}),
                              worldToScreen(PlanePoint{quad.newerRight.x, quad.newerRight.y})};
    if (!quadOnScreen(q)) return;
    if (thin) {
        r.DrawLine(std::int32_t((std::int64_t(q[0].x) + q[1].x) / 2),
                   std::int32_t((std::int64_t(q[0].y) + q[1].y) / 2),
                   std::int32_t((std::int64_t(q[2].x) + q[3].x) / 2),
                   std::int32_t((std::int64_t(q[2].y) + q[3].y) / 2), fill);
        return;
    }
    const gfx::Point corners[4] = {
        {q[0].x, q[0].y}, {q[1].x, q[1].y}, {q[2].x, q[2].y}, {q[3].x, q[3].y}};
    r.FillConvex(corners, 4, fill, true);
    // A continued work's earlier ground is filed as triangles: they have no implement edges.
    if (quad.newerLeft.x == quad.newerRight.x && quad.newerLeft.y == quad.newerRight.y) return;
    r.DrawLine(q[1].x, q[1].y, q[2].x, q[2].y, kBlack);
    r.DrawLine(q[0].x, q[0].y, q[3].x, q[3].y, kBlack);
}

// Every worked quad in view, newest first, so that older strips and their edges lie on top as
// they always have.
void drawTrack(gfx::Rasterizer& r) {
    AppState& s = appState;
    const gfx::Pixel fill = gfx::pixelFromColorRef(screenTrackColor());
    const CoverageMap& map = s.work.coverage;
    const bool thin = double(s.settings.implementWidth) * 0.1 * double(s.settings.zoom) < 1.0;
    const int level = drawingLevel();
    if (level > 0) {
        const GroundBox view = viewedGround(0);
        s.work.stripLevels.forEachQuad(level, [&](const StripQuad& quad) {
            if (boxOf(quad).meets(view)) drawQuad(r, quad, fill, thin);
        });
        return;
    }
    if (map.size() <= kQuadsDrawnWhole) {
        for (std::uint32_t id = map.size(); id-- > 0;) drawQuad(r, map.quad(id), fill, thin);
        return;
    }
    map.quadsMeeting(viewedGround(0), s.view.quadsInView);
    for (auto id = s.view.quadsInView.rbegin(); id != s.view.quadsInView.rend(); ++id)
        drawQuad(r, map.quad(*id), fill, thin);
}

// The bar at the top of the heading-up view: the arrows start at the centre and point to the
// side the driver must steer to, the rest of the bar is plain background.
void drawSteeringBar(gfx::Rasterizer& r) {
    const AppState& s = appState;
    const gfx::Pixel bg = gfx::pixelFromColorRef(screenBackgroundColor());
    const int n = s.guide.arrowCount;
    const int hw = s.layout.halfScreenWidth;
    const int w = s.layout.screenWidth;
    const int bar = s.layout.barHeight;
    const int spacing = s.layout.arrowSpacing;
    if (s.guide.steerLeft) {
        r.FillRect(0, 0, hw, bar, bg);
        r.FillRect(hw + n * spacing, 0, w, bar, bg);
        if (s.layout.arrowRightImage) {
            for (int k = 0; k < n && hw + k * spacing < w; ++k) {
                r.Blit(hw + k * spacing, 0, s.layout.arrowRightImage);
            }
        }
    } else {
        r.FillRect(0, 0, hw - 6 * n, bar, bg);
        r.FillRect(hw, 0, w, bar, bg);
        if (s.layout.arrowLeftImage) {
            for (int k = 1; k <= n && hw - k * spacing > -spacing; ++k) {
                r.Blit(hw - k * spacing, 0, s.layout.arrowLeftImage);
            }
        }
    }
}

// Each guide line gets its number where it crosses the number row; a line parallel to the row
// never crosses it.
void drawGuideNumbers(gfx::Rasterizer& r) {
    const AppState& s = appState;
    const gfx::Pixel colour = gfx::pixelFromColorRef(screenTextColor());
    const int row = s.layout.guideNumberRow;
    const std::int32_t numbers[3] = {s.guide.guideNumber, s.guide.guideNumber - 1,
                                     s.guide.guideNumber + 1};
    for (int line = 0; line < 3; ++line) {
        const ScreenPoint a = s.view.guideLinesScreen[2 * line];
        const ScreenPoint b = s.view.guideLinesScreen[2 * line + 1];
        if (a.y == b.y) continue;
        // A nearly level line crosses the row far beside the screen; the product is widened
        // so that such a crossing is not folded back onto it.
        const std::int64_t x =
            a.x + (std::int64_t(b.x) - a.x) * (std::int64_t(row) - a.y) / (std::int64_t(b.y) - a.y);
        if (x < -1000 || x > std::int64_t(s.layout.screenWidth) + 1000) continue;
        char text[16];
        std::snprintf(text, sizeof text, "%+d", numbers[line]);
        r.DrawString(s.layout.font, text, gfx::kAlignAtX, std::int32_t(x), row, colour);
    }
}

// A segment with a part on the screen or in its 50-pixel margin; the rest is never drawn.
bool segmentOnScreen(ScreenPoint a, ScreenPoint b) {
    const AppState& s = appState;
    const std::int32_t w = s.layout.screenWidthLimit, h = s.layout.screenHeightLimit;
    return !(std::max(a.x, b.x) < -50 || std::min(a.x, b.x) > w || std::max(a.y, b.y) < -50 ||
             std::min(a.y, b.y) > h);
}

// A thick guide segment, cut first to the screen and a margin wider than the line. The
// rasterizer steps an edge's x by a slope kept in 1/256 pixel, counted from the edge's upper
// end: an end far off the screen (a straight line's reach, a curve's straight run beyond A and
// B) carries that rounding over thousands of rows, and the line would cross the vehicle tens
// of pixels beside it. Cut, and drawn in pieces of a few rows, it stays where it lies.
void drawGuideSegment(gfx::Rasterizer& r, ScreenPoint a, ScreenPoint b) {
    const AppState& s = appState;
    constexpr double kMargin = 8.0;
    const double left = -kMargin, right = s.layout.screenWidth + kMargin;
    const double top = -kMargin, bottom = s.layout.screenHeight + kMargin;
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    if (dx == 0.0 && dy == 0.0) return;  // no direction: nothing to draw, as for a thick line
    // Liang and Barsky: the parameters of the part inside, from a (0) to b (1).
    double t0 = 0.0, t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - left, right - a.x, a.y - top, bottom - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1) return;
    const auto at = [&](double t) {
        if (t == 0.0) return gfx::Point{a.x, a.y};
        if (t == 1.0) return gfx::Point{b.x, b.y};
        return gfx::Point{std::int32_t(std::lround(a.x + t * dx)),
                          std::int32_t(std::lround(a.y + t * dy))};
    };
    // Pieces of a few rows keep that rounding to a fraction of a pixel. They share the thick
    // line's offsets to either side, taken once from the whole segment, and each reaches two
    // rows into the next: a filled outline leaves its first and last rows open.
    constexpr double kRows = 32.0;
    const int pieces = std::max(1, int(std::ceil(std::fabs(dy) * (t1 - t0) / kRows)));
    const double overlap = pieces > 1 ? 2.0 / std::fabs(dy) : 0.0;
    const double half = 2.5 / std::sqrt(dx * dx + dy * dy);
    const auto away = [](double v) { return std::int32_t(v > 0 ? v + 0.5 : v - 0.5); };
    const std::int32_t ox = away(-dy * half), oy = away(dx * half);
    for (int i = 0; i < pieces; ++i) {
        const gfx::Point from = at(i == 0 ? t0 : t0 + (t1 - t0) * i / pieces - overlap);
        const gfx::Point to =
            at(i + 1 == pieces ? t1 : t0 + (t1 - t0) * (i + 1) / pieces + overlap);
        const gfx::Point quad[4] = {{from.x + ox, from.y + oy},
                                    {from.x - ox, from.y - oy},
                                    {to.x - ox, to.y - oy},
                                    {to.x + ox, to.y + oy}};
        r.FillConvex(quad, 4, kRed);
    }
}

// The followed curve and its neighbours, each a run of thick segments as the straight lines
// are drawn; each number goes where its line crosses the number row nearest the middle.
void drawCurveLines(gfx::Rasterizer& r) {
    const AppState& s = appState;
    const gfx::Pixel colour = gfx::pixelFromColorRef(screenTextColor());
    const std::int32_t numbers[3] = {s.guide.guideNumber, s.guide.guideNumber - 1,
                                     s.guide.guideNumber + 1};
    const std::int64_t row = s.layout.guideNumberRow;
    for (int line = 0; line < 3; ++line) {
        const std::vector<ScreenPoint>& points = s.view.curveLinesScreen[line];
        std::int64_t bestX = 0;
        bool crossing = false;
        for (std::size_t i = 0; i + 1 < points.size(); i += 2) {
            const ScreenPoint a = points[i], b = points[i + 1];
            if (!segmentOnScreen(a, b)) continue;
            drawGuideSegment(r, a, b);
            // A thick line leaves its end rows open; a curve's short segments would show a gap
            // at every vertex without a joint. The joint spans what a thick line along a screen
            // column or row covers, three pixels either side, so no edge is notched.
            for (const ScreenPoint p : {a, b}) {
                const gfx::Point joint[4] = {
                    {p.x - 3, p.y - 3}, {p.x + 3, p.y - 3}, {p.x + 3, p.y + 3}, {p.x - 3, p.y + 3}};
                r.FillConvex(joint, 4, kRed);
            }
            if (a.y == b.y || (a.y < row) == (b.y < row)) continue;
            const std::int64_t x =
                a.x + (std::int64_t(b.x) - a.x) * (row - a.y) / (std::int64_t(b.y) - a.y);
            if (x < 0 || x > s.layout.screenWidth) continue;
            if (!crossing || std::llabs(x - s.layout.halfScreenWidth) <
                                 std::llabs(bestX - s.layout.halfScreenWidth))
                bestX = x;
            crossing = true;
        }
        if (!s.settings.showGuideNumbers || !crossing) continue;
        char text[16];
        std::snprintf(text, sizeof text, "%+d", numbers[line]);
        r.DrawString(s.layout.font, text, gfx::kAlignAtX, std::int32_t(bestX), std::int32_t(row),
                     colour);
    }
}

// The distance to the line in metres, always without its sign: the arrows tell the side.
void formatCrossTrack(double crossTrack, char (&text)[32]) {
    const auto result = std::to_chars(text, text + sizeof text - 3, std::fabs(crossTrack) * 0.1,
                                      std::chars_format::fixed, 2);
    char* end = result.ec == std::errc() ? result.ptr : text;
    *end++ = ' ';
    *end++ = 'm';
    *end = '\0';
}

// The number the driver steers by, a twelfth of the screen high under the steering bar: green
// within the arrow tolerance, red beyond it, with a pointer on the side to steer to.
void drawLargeReadout(gfx::Rasterizer& r, const char (&distance)[32]) {
    const AppState& s = appState;
    const bool within = std::fabs(s.guide.crossTrack) < double(s.settings.arrowTolerance);
    char text[40];
    if (within)
        std::snprintf(text, sizeof text, "%s", distance);
    else if (s.guide.steerLeft)
        std::snprintf(text, sizeof text, "\x11%s", distance);  // the left-pointing triangle
    else
        std::snprintf(text, sizeof text, "%s\x10", distance);  // the right-pointing triangle
    const int length = int(std::strlen(text));
    const int cell = s.layout.readoutFont->cellWidth();
    // A long reading gets smaller digits rather than leaving the screen.
    const int scale =
        std::max(1, std::min(readoutScale(), int(s.layout.screenWidth) / (length * cell)));
    const int top = s.layout.barHeight + s.layout.textMargin;
    const gfx::Pixel colour = within ? kReadoutGreen : kRed;
    // A plate under the digits keeps them readable over the track and the guide lines.
    const int width = length * cell * scale;
    const int left = (int(s.layout.screenWidth) - width) / 2 - 4 * scale;
    r.FillRect(left, top, left + width + 8 * scale, top + kReadoutPlateRows * scale,
               nightPalette() ? kPlateNight : kPlateDay);
    r.DrawStringScaled(s.layout.readoutFont, text, gfx::kAlignCentre, 0,
                       top - kReadoutPlateTopRow * scale, colour, scale);
}

void drawGuidance(gfx::Rasterizer& r) {
    const AppState& s = appState;
    if (!s.view.northUp) drawSteeringBar(r);
    if (s.work.curveActive) {
        drawCurveLines(r);
    } else {
        for (int line = 0; line < 3; ++line) {
            const ScreenPoint a = s.view.guideLinesScreen[2 * line];
            const ScreenPoint b = s.view.guideLinesScreen[2 * line + 1];
            drawGuideSegment(r, a, b);
        }
        if (s.settings.showGuideNumbers) drawGuideNumbers(r);
    }
    char text[32];
    formatCrossTrack(s.guide.crossTrack, text);
    if (largeReadout()) {
        drawLargeReadout(r, text);
        return;
    }
    r.DrawString(s.layout.font, text, gfx::kAlignCentre, 0,
                 s.layout.textMargin + s.layout.barHeight,
                 gfx::pixelFromColorRef(screenTextColor()));
}

// While A and B are being set: the prompt blinks, and once A is set a dashed leg runs from A
// to the vehicle.
void drawSettingAB(gfx::Rasterizer& r) {
    const AppState& s = appState;
    const gfx::Pixel colour = gfx::pixelFromColorRef(screenTextColor());
    if (s.ui.promptShown) {
        int prompt = kMsgPromptA;
        // A curve is recorded along the driven path: driving straight is not what B waits for.
        if (s.work.pointASet)
            prompt = s.settings.guidancePattern == kPatternCurve ? kMsgPromptCurveB : kMsgPromptB;
        r.DrawWrappedString(s.layout.font, messageText(prompt), gfx::kAlignCentre, 0,
                            s.layout.textMargin, colour);
    }
    if (!s.work.pointASet) return;
    // A curve being recorded: the path so far, then the leg on to the vehicle.
    if (s.layout.dashLine && s.view.curveRecordScreen.size() >= 2) {
        for (std::size_t i = 0; i + 1 < s.view.curveRecordScreen.size(); ++i) {
            const ScreenPoint a = s.view.curveRecordScreen[i], b = s.view.curveRecordScreen[i + 1];
            if (!segmentOnScreen(a, b)) continue;
            s.layout.dashLine->draw(r, a, b, colour);
        }
        s.layout.dashLine->draw(r, s.view.curveRecordScreen.back(),
                                {s.layout.halfScreenWidth, s.layout.halfScreenHeight}, colour);
    } else if (s.layout.dashLine) {
        s.layout.dashLine->draw(r, s.view.pointAScreen,
                                {s.layout.halfScreenWidth, s.layout.halfScreenHeight}, colour);
    }
    r.DrawString(s.layout.font, "A", gfx::kAlignAtX, s.view.pointAScreen.x, s.view.pointAScreen.y,
                 colour);
}

void drawVehicle(gfx::Rasterizer& r) {
    const AppState& s = appState;
    const gfx::Surface* image = s.layout.vehicleImage;
    if (!image) return;
    if (s.view.northUp) {
        r.BlitRotated(s.layout.halfScreenWidth, s.layout.halfScreenHeight,
                      std::atan2(s.heading.east, s.heading.north), image);
    } else {
        // The middle of the picture's bottom edge is the vehicle's position.
        r.Blit(s.layout.halfScreenWidth - image->width() / 2,
               s.layout.halfScreenHeight - image->height(), image);
    }
}

// The implement across the current fix.
void drawImplementBar(gfx::Rasterizer& r) {
    const AppState& s = appState;
    // With sections the last record may be a run of them: the bar is the whole implement's.
    const TrackEdge& current =
        sectionControl.active && sectionControl.decided ? sectionControl.bar : s.work.strips.back();
    const ScreenPoint first = worldToScreen(PlanePoint{current.leftX, current.leftY});
    const ScreenPoint second = worldToScreen(PlanePoint{current.rightX, current.rightY});
    if (s.view.northUp) {
        r.DrawLine(first.x, first.y, second.x, second.y, kBlack);
    } else {
        r.DrawHLine(first.x, first.y, second.x - first.x, kBlack);
    }
}

// The strip array is full: one red line under the panel, or above it where the panel sits
// low, so that the guidance stays in sight.
void drawWorkFull(gfx::Rasterizer& r) {
    const AppState& s = appState;
    const int row = infoPanelRow(s.ui.screenState), line = textLineHeight();
    int y = row + 2 * line;
    if (y + line > s.layout.guideNumberRow) y = row - line;
    r.DrawString(s.layout.font, messageText(kMsgWorkFull), gfx::kAlignCentre, 0, y, kRed);
}

// Guidance out of the line's reach: the words stand where the cross-track error would.
void drawLineTooFar(gfx::Rasterizer& r) {
    const AppState& s = appState;
    r.DrawWrappedString(s.layout.font, messageText(kMsgLineTooFar), gfx::kAlignCentre, 0,
                        s.layout.textMargin + s.layout.barHeight, kRed);
}

// A saved work's line that was not taken, and how far it lies, under the prompt's place.
void drawSavedLineRefused(gfx::Rasterizer& r) {
    const AppState& s = appState;
    char km[32];
    const auto result = std::to_chars(km, km + sizeof km - 1, s.ui.savedLineRefusedAt * 1e-4,
                                      std::chars_format::fixed, 1);
    *(result.ec == std::errc() ? result.ptr : km) = '\0';
    char text[sizeof s.ui.promptText];
    std::snprintf(text, sizeof text, messageText(kMsgSavedLineTooFar), km);
    r.DrawWrappedString(s.layout.font, text, gfx::kAlignCentre, 0,
                        s.layout.halfScreenHeight + 3 * textLineHeight(), kRed);
}

}  // namespace

void rebuildVehicleImage() {
    AppState& s = appState;
    gfx::Surface* scaled = nullptr;
    const gfx::Surface* source = s.layout.vehicleSource;
    if (source && source->buffer) {
        const std::size_t index = s.settings.vehicleScaleIndex < std::size(kVehicleScales)
                                      ? s.settings.vehicleScaleIndex
                                      : 0;  // a scale past the table is taken as real size
        const float factor = float(double(s.settings.zoom) * double(kVehicleScales[index]));
        const std::int32_t width = screenTruncate(float(source->width()) * factor);
        const std::int32_t height = screenTruncate(float(source->height()) * factor);
        // A vehicle smaller than a pixel is not drawn at all; nothing is stretched onto an
        // empty surface.
        if (width > 0 && height > 0) scaled = gfx::CreateSurface(width, height);
        if (scaled) {
            gfx::Rasterizer stretch(scaled);
            // Whatever the source leaves out stays transparent in the scaled picture.
            stretch.Clear(kVehicleKey);
            stretch.BlitStretch(gfx::Rect{0, 0, width, height}, source);
            scaled->colourKey = kVehicleKey;
        }
    }
    gfx::DestroySurface(s.layout.vehicleImage);
    s.layout.vehicleImage = scaled;
}

void drawBackground(gfx::Rasterizer& target) {
    const AppState& s = appState;
    if (s.ui.pictureBackground && s.layout.pictureImage) {
        const gfx::Point corners[4] = {{s.layout.pictureQuad[0].x, s.layout.pictureQuad[0].y},
                                       {s.layout.pictureQuad[1].x, s.layout.pictureQuad[1].y},
                                       {s.layout.pictureQuad[2].x, s.layout.pictureQuad[2].y},
                                       {s.layout.pictureQuad[3].x, s.layout.pictureQuad[3].y}};
        target.FillPolygonPattern(corners, 4, s.layout.pictureImage);
    } else {
        target.Clear(gfx::pixelFromColorRef(screenBackgroundColor()));
    }
}

void drawWorkScreen(gfx::Rasterizer& target) {
    AppState& s = appState;
    const std::uint8_t state = s.ui.screenState;
    const bool track = s.work.strips.size() >= 2;
    drawFieldBeneath(target);
    if (track) drawTrack(target);
    drawFieldLines(target);
    if (track) {
        if (state == kStateGuidance && !s.guide.lineTooFar) drawGuidance(target);
    }
    if (state == kStateGuidance && s.guide.lineTooFar) drawLineTooFar(target);
    if (state == kStateSettingAB) drawSettingAB(target);
    if (state == kStateSettingAB && s.ui.savedLineRefusedAt > 0.0) drawSavedLineRefused(target);
    if (s.settings.showVehicle) drawVehicle(target);
    if (track) drawImplementBar(target);
    // Over the ground and the lines, under the notices: on the smallest screens a notice may
    // run onto the bar, and stays readable.
    drawSectionBar(target);
    if (s.ui.paused) {
        const int below = s.layout.scaledLayout ? 27 * s.layout.layoutScale : 27;
        target.DrawString(s.layout.font, messageText(kMsgPaused), gfx::kAlignCentre, 0,
                          s.layout.halfScreenHeight + below, kRed);
    }
    if (s.work.workFull) drawWorkFull(target);
    const int below = s.layout.scaledLayout ? 27 * s.layout.layoutScale : 27;
    int warningRow = s.layout.halfScreenHeight + below;
    if (s.work.workedAhead && !s.ui.paused) {
        target.DrawString(s.layout.font, messageText(kMsgWorkedAhead), gfx::kAlignCentre, 0,
                          warningRow, kRed);
        warningRow += textLineHeight();
    }
    drawFieldWarnings(target, warningRow);
}

void drawWorkButtons(gfx::Rasterizer& target) {
    const AppState& s = appState;
    for (const ButtonImage* b : {&s.layout.imgZoomIn, &s.layout.imgZoomOut, &s.layout.imgWorkMenu,
                                 &s.layout.imgViewToggle, &s.layout.imgFinish}) {
        if (b->image) target.Blit(b->x, b->y, b->image);
    }
}

void drawWorkFrame(gfx::Rasterizer& target) {
    refreshPalette();
    drawBackground(target);
    drawWorkScreen(target);
    drawInfoPanel(target);
    drawWorkButtons(target);
}
