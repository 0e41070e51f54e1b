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
