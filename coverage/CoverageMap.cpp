#include "coverage/CoverageMap.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "coverage/ConvexPiece.h"

namespace {

// A lane counts as over worked ground when it crosses more than this of it (dm).
constexpr double kLaneWorked = 1.0;

std::int64_t cellOf(double v) {
    return std::int64_t(std::floor(v / CoverageMap::kCellSize));
}

std::uint64_t tileKey(std::int64_t tx, std::int64_t ty) {
    return (std::uint64_t(std::uint32_t(tx)) << 32) | std::uint32_t(ty);
}

std::int64_t tileOf(std::int64_t c, int side) {
    return c >= 0 ? c / side : -((-c + side - 1) / side);
}

bool contains(const GroundPoint (&t)[3], GroundPoint p) {
    auto side = [](GroundPoint a, GroundPoint b, GroundPoint q) {
        return (b.x - a.x) * (q.y - a.y) - (b.y - a.y) * (q.x - a.x);
    };
    const double s0 = side(t[0], t[1], p), s1 = side(t[1], t[2], p), s2 = side(t[2], t[0], p);
    return (s0 >= 0 && s1 >= 0 && s2 >= 0) || (s0 <= 0 && s1 <= 0 && s2 <= 0);
}

GroundBox triangleBox(const GroundPoint (&t)[3]) {
    return {std::min({t[0].x, t[1].x, t[2].x}), std::min({t[0].y, t[1].y, t[2].y}),
            std::max({t[0].x, t[1].x, t[2].x}), std::max({t[0].y, t[1].y, t[2].y})};
}

std::size_t slotOf(std::uint64_t key, std::size_t mask) {
    // The multiplier spreads neighbouring tiles over the table.
    return std::size_t((key * 0x9E3779B97F4A7C15ull) >> 17) & mask;
}

}  // namespace

CoverageMap::Tile* CoverageMap::findTile(std::uint64_t key) const {
    if (tiles_.empty()) return nullptr;
    const std::size_t mask = tiles_.size() - 1;
    for (std::size_t i = slotOf(key, mask);; i = (i + 1) & mask) {
        if (!tiles_[i].tile) return nullptr;
        if (tiles_[i].key == key) return tiles_[i].tile.get();
    }
}

CoverageMap::Tile& CoverageMap::tileForAdding(std::uint64_t key) {
    if (Tile* tile = findTile(key)) return *tile;
    if (2 * (tileCount_ + 1) > tiles_.size()) {
        std::vector<TileSlot> old;
        old.swap(tiles_);
        tiles_.resize(std::max<std::size_t>(64, 2 * old.size()));
        const std::size_t mask = tiles_.size() - 1;
        for (TileSlot& slot : old) {
            if (!slot.tile) continue;
            std::size_t i = slotOf(slot.key, mask);
            while (tiles_[i].tile) i = (i + 1) & mask;
            tiles_[i] = std::move(slot);
        }
    }
    const std::size_t mask = tiles_.size() - 1;
    std::size_t i = slotOf(key, mask);
    while (tiles_[i].tile) i = (i + 1) & mask;
    tiles_[i].key = key;
    tiles_[i].tile = std::make_unique<Tile>();
    ++tileCount_;
    return *tiles_[i].tile;
}

template <class Visit>
void CoverageMap::forEachNear(const GroundBox& box, std::uint32_t limit, Visit visit) const {
    if (count_ == 0) return;
    if (++question_ == 0) {
        std::fill(seen_.begin(), seen_.end(), 0);
        question_ = 1;
    }
    const std::int64_t x0 = cellOf(box.minX), x1 = cellOf(box.maxX);
    const std::int64_t y0 = cellOf(box.minY), y1 = cellOf(box.maxY);
    // Neighbouring cells mostly share a tile: it is looked up once for them.
    std::int64_t lastTx = 0, lastTy = 0;
    const Tile* tile = nullptr;
    bool looked = false;
    for (std::int64_t cy = y0; cy <= y1; ++cy) {
        for (std::int64_t cx = x0; cx <= x1; ++cx) {
            const std::int64_t tx = tileOf(cx, kTileCells), ty = tileOf(cy, kTileCells);
            if (!looked || tx != lastTx || ty != lastTy) {
                tile = findTile(tileKey(tx, ty));
                lastTx = tx;
                lastTy = ty;
                looked = true;
            }
            if (!tile) continue;
            const std::vector<std::uint32_t>* ids =
                &tile->cells[(cy - ty * kTileCells) * kTileCells + (cx - tx * kTileCells)];
            for (std::uint32_t id : *ids) {
                if (id >= limit || seen_[id] == question_) continue;
                seen_[id] = question_;
                visit(id);
            }
        }
    }
}

double CoverageMap::add(const StripQuad& q) {
    // Everything is worked out relative to the quad's first corner.
    const GroundPoint origin = q.olderLeft;
    GroundPoint first[3], second[3];
    quadTriangles(q, origin, first, second);
    std::vector<ConvexPiece>& pieces = pieces_;
    std::vector<ConvexPiece>& next = nextPieces_;
    pieces.clear();
    const bool firstValid = orientTriangle(first);
    if (firstValid) pieces.push_back(pieceOfTriangle(first));
    if (orientTriangle(second)) {
        if (firstValid)
            subtractTriangle(pieceOfTriangle(second), first, pieces);
        else
            pieces.push_back(pieceOfTriangle(second));
    }

    const GroundBox box = boxOf(q);
    forEachNear(box, count_, [&](std::uint32_t id) {
        if (pieces.empty()) return;
        if (!boxMeets(id, box)) return;
        const StripQuad& other = quad(id);
        GroundPoint triangles[2][3];
        quadTriangles(other, origin, triangles[0], triangles[1]);
        for (auto& t : triangles) {
            if (!orientTriangle(t)) continue;
            const GroundBox tb = triangleBox(t);
            next.clear();
            for (const ConvexPiece& piece : pieces) {
                if (boxOf(piece).meets(tb))
                    subtractTriangle(piece, t, next);
                else
                    next.push_back(piece);
            }
            pieces.swap(next);
        }
    });
    double ground = 0.0;
    for (const ConvexPiece& piece : pieces) ground += pieceArea(piece);

    if (count_ % kBlockQuads == 0) blocks_.push_back(std::make_unique<FiledQuad[]>(kBlockQuads));
    const std::uint32_t id = count_;
    constexpr float kDown = -std::numeric_limits<float>::infinity();
    constexpr float kUp = std::numeric_limits<float>::infinity();
    blocks_.back()[id % kBlockQuads] = {
        q, std::nextafter(float(box.minX), kDown), std::nextafter(float(box.minY), kDown),
        std::nextafter(float(box.maxX), kUp), std::nextafter(float(box.maxY), kUp)};
    seen_.push_back(0);
    ++count_;
    const std::int64_t x0 = cellOf(box.minX), x1 = cellOf(box.maxX);
    const std::int64_t y0 = cellOf(box.minY), y1 = cellOf(box.maxY);
    std::int64_t lastTx = 0, lastTy = 0;
    Tile* tile = nullptr;
    for (std::int64_t cy = y0; cy <= y1; ++cy) {
        for (std::int64_t cx = x0; cx <= x1; ++cx) {
            const std::int64_t tx = tileOf(cx, kTileCells), ty = tileOf(cy, kTileCells);
            if (!tile || tx != lastTx || ty != lastTy) {
                tile = &tileForAdding(tileKey(tx, ty));
                lastTx = tx;
                lastTy = ty;
            }
            tile->cells[(cy - ty * kTileCells) * kTileCells + (cx - tx * kTileCells)].push_back(id);
        }
    }
    return ground;
}

int CoverageMap::timesWorked(GroundPoint p) const {
    int times = 0;
    forEachNear({p.x, p.y, p.x, p.y}, count_, [&](std::uint32_t id) {
        const StripQuad& q = quad(id);
        const GroundBox b = boxOf(q);
        if (p.x < b.minX || p.x > b.maxX || p.y < b.minY || p.y > b.maxY) return;
        GroundPoint first[3], second[3];
        quadTriangles(q, p, first, second);
        const GroundPoint at{0.0, 0.0};
        if (contains(first, at) || contains(second, at)) ++times;
    });
    return times;
}

double CoverageMap::workedShareAhead(GroundPoint left, GroundPoint right, GroundPoint travel,
                                     int lanes, std::uint32_t ignoreFrom) const {
    if (lanes <= 0) return 0.0;
    const double length = std::hypot(travel.x, travel.y);
    if (!(length > kLaneWorked)) return 0.0;
    const GroundPoint origin = left;
    const GroundPoint l{0.0, 0.0}, r{right.x - left.x, right.y - left.y};
    GroundBox path{std::min({0.0, r.x, travel.x, r.x + travel.x}),
                   std::min({0.0, r.y, travel.y, r.y + travel.y}),
                   std::max({0.0, r.x, travel.x, r.x + travel.x}),
                   std::max({0.0, r.y, travel.y, r.y + travel.y})};
    struct Near {
        GroundPoint triangles[2][3];
        bool valid[2];
        GroundBox box;
    };
    std::vector<Near> near;
    const GroundBox absolute{path.minX + origin.x, path.minY + origin.y, path.maxX + origin.x,
                             path.maxY + origin.y};
    forEachNear(absolute, std::min(ignoreFrom, count_), [&](std::uint32_t id) {
        if (!boxMeets(id, absolute)) return;
        const StripQuad& q = quad(id);
        Near n;
        quadTriangles(q, origin, n.triangles[0], n.triangles[1]);
        n.valid[0] = orientTriangle(n.triangles[0]);
        n.valid[1] = orientTriangle(n.triangles[1]);
        n.box = {boxOf(q).minX - origin.x, boxOf(q).minY - origin.y, boxOf(q).maxX - origin.x,
                 boxOf(q).maxY - origin.y};
        near.push_back(n);
    });
    int worked = 0;
    for (int k = 0; k < lanes; ++k) {
        const double f = (k + 0.5) / lanes;
        const GroundPoint a{l.x + f * r.x, l.y + f * r.y};
        const GroundPoint b{a.x + travel.x, a.y + travel.y};
        const GroundBox lane{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                             std::max(a.y, b.y)};
        bool laneWorked = false;
        for (const Near& n : near) {
            if (!n.box.meets(lane)) continue;
            for (int t = 0; t < 2 && !laneWorked; ++t) {
                double enter, leave;
                if (n.valid[t] && segmentInTriangle(a, b, n.triangles[t], enter, leave) &&
                    (leave - enter) * length > kLaneWorked)
                    laneWorked = true;
            }
            if (laneWorked) break;
        }
        if (laneWorked) ++worked;
    }
    return double(worked) / lanes;
}

void CoverageMap::quadsMeeting(const GroundBox& box, std::vector<std::uint32_t>& ids) const {
    ids.clear();
    forEachNear(box, count_, [&](std::uint32_t id) {
        if (boxMeets(id, box)) ids.push_back(id);
    });
    std::sort(ids.begin(), ids.end());
}
