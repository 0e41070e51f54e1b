#include "farm/FieldOrder.h"

#include <algorithm>

#include "farm/FieldGeometry.h"

std::vector<FieldByDistance> fieldsByDistance(const FarmContents& contents, LonLat vehicle) {
    std::vector<FieldByDistance> order;
    order.reserve(contents.fields.size());
    for (std::size_t i = 0; i < contents.fields.size(); ++i)
        order.push_back({i, distanceToFieldM(contents.fields[i].boundary, vehicle)});
    // Fields the vehicle stands in (0 m) come first; a tie keeps the book's order.
    std::stable_sort(
        order.begin(), order.end(),
        [](const FieldByDistance& a, const FieldByDistance& b) { return a.metres < b.metres; });
    return order;
}
