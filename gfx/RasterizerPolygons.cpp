// The three polygon fillers: convex outlines (thick lines, quads of the worked strip), even-odd
// outlines of any shape, and the pattern-covered outline of the screen background.
#include <algorithm>
#include <new>

#include "gfx/PolygonEdges.h"
#include "gfx/Rasterizer.h"
#include "gfx/RasterizerInternal.h"

namespace gfx {

namespace {
constexpr std::int32_t kNoCrossing = -16000;

// Floor division for a positive divisor.
std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
std::int64_t floorMod(std::int64_t a, std::int64_t b) {
    return a - floorDiv(a, b) * b;
}
}  // namespace

// ---- FillConvex ----

// Each edge puts its x on every row it crosses into the first table, or, once that row has a
// crossing, into the second; each row is then one span. The tables stay with the rasterizer
// and only the rows an outline spans are reset after it.
void Rasterizer::FillConvex(const Point* points, std::int32_t count, Pixel colour,
                            bool levelEdges) {
    if (!target_ || !points || count < 1) return;
    if (count == 1) {
        DrawHLine(points[0].x, points[0].y, 1, colour);
        return;
    }
    if (count == 2) {
        DrawLine(points[0].x, points[0].y, points[1].x, points[1].y, colour);
        return;
    }
    const std::int32_t height = target_->height();
    if (std::int32_t(convexFirst_.size()) < height) {
        convexFirst_.assign(std::size_t(height), kNoCrossing);
        convexSecond_.assign(std::size_t(height), kNoCrossing);
    }
    std::int64_t minimum = height, maximum = 0;
    for (std::int32_t i = 0; i < count; ++i) {
        const Point& from = points[i == 0 ? count - 1 : i - 1];
        const Point& to = points[i];
        if (from.y == to.y) {
            if (levelEdges) DrawLine(from.x, from.y, to.x, to.y, colour);
            continue;
        }
        std::int64_t x1 = from.x, y1 = from.y, x2 = to.x, y2 = to.y;
        if (y1 > y2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        minimum = std::min(minimum, y1);
        maximum = std::max(maximum, y2);
        std::int64_t slope = ((x2 - x1) * 256) / (y2 - y1);
        // Only the rows inside the target are visited; the x of each is as if every row were.
        std::int64_t firstRow = std::max<std::int64_t>(y1 + 1, 0);
        std::int64_t lastRow = std::min<std::int64_t>(y2, height - 1);
        for (std::int64_t y = firstRow; y <= lastRow; ++y) {
            std::int32_t x = internal::clampCoordinate((x1 * 256 + slope * (y - y1)) >> 8);
            if (convexFirst_[std::size_t(y)] == kNoCrossing)
                convexFirst_[std::size_t(y)] = x;
            else
                convexSecond_[std::size_t(y)] = x;
        }
    }
    std::int32_t top = std::int32_t(std::max<std::int64_t>(minimum, 0));
    std::int32_t bottom = std::int32_t(std::min<std::int64_t>(height, maximum));
    for (std::int32_t y = top; y < bottom; ++y) {
        std::int32_t first = convexFirst_[std::size_t(y)];
        if (first == kNoCrossing) continue;
        std::int32_t second = convexSecond_[std::size_t(y)];
        if (second == kNoCrossing) second = first;
        DrawLine(first, y, second, y, colour);
    }
    std::int32_t resetEnd = std::int32_t(std::min<std::int64_t>(height, maximum + 1));
    for (std::int32_t y = top; y < resetEnd; ++y) {
        convexFirst_[std::size_t(y)] = kNoCrossing;
        convexSecond_[std::size_t(y)] = kNoCrossing;
    }
}

// ---- FillPolygon ----

bool Rasterizer::ReservePolygonEdges(std::int32_t count) {
    if (count <= polygonEdgeCapacity_) return true;
    PolygonEdge* edges = new (std::nothrow) PolygonEdge[std::size_t(count)];
    if (!edges) return false;
    polygonEdges_.reset(edges);
    polygonEdgeCapacity_ = count;
    return true;
}

bool Rasterizer::FillPolygon(const Polygon& polygon, Pixel colour, std::int32_t offsetX,
                             std::int32_t offsetY) {
    if (!polygon.points || polygon.count < 3) return true;
    if (!ReservePolygonEdges(polygon.count)) return false;
    if (!target_ || clip_.isEmpty()) return true;
    const std::int32_t count = polygon.count;
    PolygonEdge* edges = polygonEdges_.get();
    std::int32_t edgeCount = 0;
    for (std::int32_t i = 0; i < count; ++i) {
        const Point& from = polygon.points[i == 0 ? count - 1 : i - 1];
        const Point& to = polygon.points[i];
        std::int64_t x1 = std::int64_t(from.x) + offsetX, y1 = std::int64_t(from.y) + offsetY;
        std::int64_t x2 = std::int64_t(to.x) + offsetX, y2 = std::int64_t(to.y) + offsetY;
        if (y1 == y2) continue;
        if (y1 > y2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        PolygonEdge& e = edges[edgeCount++];
        e.x = x1;
        e.top = y1;
        e.height = y2 - y1;
        e.rowsLeft = e.height;
        e.dx = x2 - x1;
        e.direction = x2 < x1 ? -1 : 1;
        std::int64_t adx = e.dx < 0 ? -e.dx : e.dx;
        e.error = e.direction < 0 ? 1 - e.height : 0;
        if (e.height < adx) {
            e.step = e.direction * (adx / e.height);
            e.remainder = adx % e.height;
        } else {
            e.step = 0;
            e.remainder = adx;
        }
    }
    if (edgeCount == 0) return true;
    // The edge table in order of top row, then x.
    std::sort(edges, edges + edgeCount, [](const PolygonEdge& a, const PolygonEdge& b) {
        return a.top != b.top ? a.top < b.top : a.x < b.x;
    });

    // Rows above the clip draw nothing: the scan may begin at the clip's top, with every edge
    // already under way put where its own stepping would have brought it.
    std::int64_t y = edges[0].top;
    std::int32_t next = 0;
    std::vector<PolygonEdge*>& active = polygonActive_;
    active.clear();
    if (y < clip_.top) {
        y = clip_.top;
        while (next < edgeCount && edges[next].top < y) {
            PolygonEdge& e = edges[next++];
            std::int64_t k = y - e.top;
            if (k >= e.height) continue;
            // The carries of the remainder after k rows, as the error term counts them.
            std::int64_t carried = e.direction > 0 ? (k * e.remainder + e.height - 1) / e.height
                                                   : (k * e.remainder) / e.height;
            e.x += k * e.step + e.direction * carried;
            e.error += k * e.remainder - carried * e.height;
            e.rowsLeft -= k;
            active.push_back(&e);
        }
        std::sort(active.begin(), active.end(),
                  [](const PolygonEdge* a, const PolygonEdge* b) { return a->x < b->x; });
    }
    for (; (next < edgeCount || !active.empty()) && y < clip_.bottom; ++y) {
        while (next < edgeCount && edges[next].top == y) {
            PolygonEdge* e = &edges[next++];
            auto at = std::find_if(active.begin(), active.end(),
                                   [e](const PolygonEdge* a) { return a->x >= e->x; });
            active.insert(at, e);
        }
        for (std::size_t i = 0; i + 1 < active.size(); i += 2) {
            std::int32_t xa = internal::clampCoordinate(active[i]->x);
            std::int32_t xb = internal::clampCoordinate(active[i + 1]->x);
            DrawHLine(xa, std::int32_t(y), xb - xa, colour);
        }
        std::size_t kept = 0;
        for (PolygonEdge* e : active) {
            if (--e->rowsLeft == 0) continue;
            e->x += e->step;
            e->error += e->remainder;
            if (e->error >= 1) {
                e->error -= e->height;
                e->x += e->direction;
            }
            active[kept++] = e;
        }
        active.resize(kept);
        for (bool swapped = true; swapped;) {
            swapped = false;
            for (std::size_t i = 0; i + 1 < active.size(); ++i)
                if (active[i]->x > active[i + 1]->x) {
                    std::swap(active[i], active[i + 1]);
                    swapped = true;
                }
        }
        // A gap of rows with no edge at all is passed over in one go.
        if (active.empty() && next < edgeCount && edges[next].top > y + 1)
            y = std::min<std::int64_t>(edges[next].top, clip_.bottom) - 1;
    }
    return true;
}

// ---- FillPolygonPattern ----

void Rasterizer::FillPolygonPattern(const Point* points, std::int32_t count,
                                    const Surface* pattern) {
    if (!target_ || !points || count < 2 || !pattern || !pattern->buffer) return;
    if (pattern->width() <= 0 || pattern->height() <= 0 || clip_.isEmpty()) return;
    std::vector<PatternEdge>& edges = patternEdges_;
    edges.clear();
    for (std::int32_t i = 0; i < count; ++i) {
        const Point& from = points[i];
        const Point& to = points[(i + 1) % count];
        if (from.y == to.y) continue;
        // The next vertex with a different y tells whether the outline keeps going the same
        // way past this edge's far end; if so the shared row belongs to the next edge only.
        std::int32_t j = (i + 1) % count;
        std::int32_t guard = 0;
        while (points[j].y == to.y && guard++ < count) j = (j + 1) % count;
        bool down = to.y > from.y;
        bool continues = down ? points[j].y > to.y : points[j].y < to.y;
        const Point& upper = down ? from : to;
        const Point& lower = down ? to : from;
        PatternEdge e;
        e.top = upper.y;
        e.bottom = lower.y;
        e.x = upper.x;
        e.height = e.bottom - e.top;
        e.adx = std::abs(std::int64_t(lower.x) - upper.x);
        e.direction = lower.x < upper.x ? -1 : 1;
        e.error = e.height / 2;
        if (continues && down) e.bottom -= 1;
        if (continues && !down) {
            e.top += 1;
            e.advance(1);
        }
        edges.push_back(e);
    }
    if (edges.empty()) return;
    std::sort(edges.begin(), edges.end(),
              [](const PatternEdge& a, const PatternEdge& b) { return a.top < b.top; });
    // The scan stops at the first row no edge covers.
    std::int64_t start = edges[0].top, stop = start;
    for (const PatternEdge& e : edges) {
        if (e.top > stop) break;
        stop = std::max(stop, e.bottom + 1);
    }
    std::int64_t firstRow = std::max<std::int64_t>(start, clip_.top);
    std::int64_t endRow = std::min<std::int64_t>(stop, clip_.bottom);
    std::vector<std::int32_t>& crossings = patternCrossings_;
    for (PatternEdge& e : edges)
        if (e.top < firstRow) {
            e.advance(std::min(firstRow, e.bottom) - e.top);
            e.top = std::min(firstRow, e.bottom);
        }
    for (std::int64_t y = firstRow; y < endRow; ++y) {
        crossings.clear();
        for (PatternEdge& e : edges) {
            if (e.top > y || e.bottom < y) continue;
            crossings.push_back(internal::clampCoordinate(e.x));
            e.advance(1);
        }
        std::sort(crossings.begin(), crossings.end());
        if (crossings.size() & 1) crossings.push_back(crossings.back());
        for (std::size_t i = 0; i < crossings.size(); i += 2)
            PatternSpan(std::int32_t(y), crossings[i], crossings[i + 1], pattern);
    }
}

// Columns xa .. xb - 1 of row y from the pattern tiled from the surface origin, in ordinary
// blits of at most one pattern width each.
void Rasterizer::PatternSpan(std::int32_t y, std::int32_t xa, std::int32_t xb,
                             const Surface* pattern) {
    xa = std::max(xa, clip_.left);
    xb = std::min(xb, clip_.right);
    if (xb <= xa) return;
    const std::int32_t pw = pattern->width(), ph = pattern->height();
    std::int32_t row = std::int32_t(floorMod(y, ph));
    for (std::int32_t x = xa; x < xb;) {
        std::int32_t column = std::int32_t(floorMod(x, pw));
        std::int32_t piece = std::min(pw - column, xb - x);
        Rect from{column, row, column + piece, row + 1};
        Blit(x, y, pattern, &from);
        x += piece;
    }
}

}  // namespace gfx
