// The ring of one saved segment: 2m vertices (left points forward, right points backward),
// followed in files saved since rings are closed by the first vertex once more.
#pragma once

#include <shapefil.h>

// The number of point pairs m of a shape, or -1 when it is no work ring: an even vertex count
// (a ring saved open, as older works were) or an odd one whose last vertex repeats the first.
inline int ringPairCount(const SHPObject& shape) {
    int n = shape.nVertices;
    if (n % 2 == 0) return n / 2;
    if (n >= 3 && shape.padfX[n - 1] == shape.padfX[0] && shape.padfY[n - 1] == shape.padfY[0])
        return (n - 1) / 2;
    return -1;
}
