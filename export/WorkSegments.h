// The segments of the current work: runs of strip records between the pause marks.
#pragma once

#include <cstddef>
#include <vector>

struct RecordRange {
    std::size_t begin = 0;
    std::size_t end = 0;  // exclusive
};

// One range per mark plus one, in the order the marks were appended: segment 0 ends at the first
// mark, segment k runs from mark k - 1 to mark k, the last one ends at recordCount. Marks beyond
// recordCount or behind the previous mark give empty segments rather than reading stale records.
template <typename Mark>
std::vector<RecordRange> workSegments(const std::vector<Mark>& marks, std::size_t recordCount) {
    std::vector<RecordRange> segments;
    segments.reserve(marks.size() + 1);
    std::size_t begin = 0;
    for (std::size_t k = 0; k <= marks.size(); ++k) {
        std::size_t end = k < marks.size() ? std::size_t(marks[k]) : recordCount;
        if (end > recordCount) end = recordCount;
        segments.push_back({begin, end < begin ? begin : end});
        if (end > begin) begin = end;
    }
    return segments;
}

// Readers of shapefiles (shapelib, GDAL) refuse a shape of more than 50 000 000 points, so a
// closed ring of 2m + 1 vertices holds at most this many point pairs.
inline constexpr std::size_t kShapePairLimit = 24999999;

// The shapes of one segment: the segment itself when it fits one shape, otherwise pieces of at
// most maxPairs records (at least 2), each beginning with the record the one before it ended
// with, so that the pieces cover the segment without a gap.
inline std::vector<RecordRange> segmentShapes(RecordRange segment,
                                              std::size_t maxPairs = kShapePairLimit) {
    if (maxPairs < 2) maxPairs = 2;
    std::vector<RecordRange> shapes;
    std::size_t begin = segment.begin;
    while (segment.end - begin > maxPairs) {
        shapes.push_back({begin, begin + maxPairs});
        begin += maxPairs - 1;
    }
    shapes.push_back({begin, segment.end});
    return shapes;
}
