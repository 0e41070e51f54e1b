// The worked ground of a work: every worked quad, found again by where it lies. The map answers
// whether a point of the ground is worked and how many times, how much of a path ahead is worked,
// and which quads a view meets; adding a quad tells how much ground it newly covers. Quads are
// filed in square cells of a sparse grid, so each answer costs what lies near the place asked
// about, however large the work. The map is read and written under the work's lock.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "coverage/ConvexPiece.h"
#include "coverage/StripQuad.h"

class CoverageMap {
  public:
    // The side of a grid cell, in decimetres.
    static constexpr double kCellSize = 80.0;

    constexpr CoverageMap() = default;
    CoverageMap(CoverageMap&&) noexcept = default;
    CoverageMap& operator=(CoverageMap&&) noexcept = default;

    // Files the quad and answers the ground (dm^2) it covers that no earlier quad covered.
    double add(const StripQuad& quad);
    std::uint32_t size() const { return count_; }
    const StripQuad& quad(std::uint32_t id) const {
        return blocks_[id / kBlockQuads][id % kBlockQuads].quad;
    }
    // How many quads cover the point.
    int timesWorked(GroundPoint point) const;
    // The share (0 to 1) of the lanes across the path from left to right, each driven along
    // travel, that cross worked ground for more than a decimetre. Quads from ignoreFrom on are
    // left out: the implement's own newest piece touches the path where it starts.
    double workedShareAhead(GroundPoint left, GroundPoint right, GroundPoint travel, int lanes,
                            std::uint32_t ignoreFrom) const;
    // The quads whose box meets box, each once, in the order they were added.
    void quadsMeeting(const GroundBox& box, std::vector<std::uint32_t>& ids) const;

  private:
    static constexpr std::uint32_t kBlockQuads = 4096;
    static constexpr int kTileCells = 32;  // cells along a tile's side
    struct Tile {
        std::vector<std::uint32_t> cells[kTileCells * kTileCells];
    };

    // Calls visit(id) once for every quad filed in a cell the box meets, with id below limit.
    template <class Visit>
    void forEachNear(const GroundBox& box, std::uint32_t limit, Visit visit) const;

    // A quad with its box, rounded outward to floats: most quads a question meets are only
    // near it, and their boxes tell so at a glance.
    struct FiledQuad {
        StripQuad quad;
        float minX, minY, maxX, maxY;
    };
    bool boxMeets(std::uint32_t id, const GroundBox& box) const {
        const FiledQuad& f = blocks_[id / kBlockQuads][id % kBlockQuads];
        return f.minX <= box.maxX && box.minX <= f.maxX && f.minY <= box.maxY && box.minY <= f.maxY;
    }

    // Quads in blocks that are never moved: a million of them are not copied as the work grows.
    std::vector<std::unique_ptr<FiledQuad[]>> blocks_;
    std::uint32_t count_ = 0;
    // The tiles by their place, in a table of open addressing: its size is a power of two and
    // at most half of it is in use.
    struct TileSlot {
        std::uint64_t key = 0;
        std::unique_ptr<Tile> tile;
    };
    Tile* findTile(std::uint64_t key) const;
    Tile& tileForAdding(std::uint64_t key);
    std::vector<TileSlot> tiles_;
    std::size_t tileCount_ = 0;
    // Marks the quads one question has already looked at: a quad is filed in every cell its box
    // meets.
    mutable std::vector<std::uint32_t> seen_;
    mutable std::uint32_t question_ = 0;
    // The pieces of a quad being cut, kept between quads to spare their allocation.
    std::vector<ConvexPiece> pieces_, nextPieces_;
};
