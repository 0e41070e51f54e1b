// Small convex polygons and what the coverage map does with them: the part of a piece outside
// a triangle, the part of a segment inside one, and areas. Coordinates are taken relative to a
// point near the pieces, so that a plane many kilometres wide costs no precision.
#pragma once

#include <cstdint>
#include <vector>

#include "coverage/StripQuad.h"

// A convex polygon of at most kMaxCorners corners, counter-clockwise.
struct ConvexPiece {
    static constexpr int kMaxCorners = 12;
    GroundPoint corners[kMaxCorners];
    std::int32_t count = 0;
};

// A triangle made counter-clockwise; false when it has no area.
bool orientTriangle(GroundPoint (&t)[3]);
ConvexPiece pieceOfTriangle(const GroundPoint (&t)[3]);
double pieceArea(const ConvexPiece& piece);
GroundBox boxOf(const ConvexPiece& piece);
// Appends to out the parts of piece that lie outside triangle t (counter-clockwise); pieces
// thinner than a sliver are dropped.
void subtractTriangle(const ConvexPiece& piece, const GroundPoint (&t)[3],
                      std::vector<ConvexPiece>& out);
// The parameter range [enter, leave] of the segment a + s (b - a), s in [0, 1], inside triangle
// t (counter-clockwise); false when the segment misses it.
bool segmentInTriangle(GroundPoint a, GroundPoint b, const GroundPoint (&t)[3], double& enter,
                       double& leave);
// The two triangles a quad is worked as, relative to origin.
void quadTriangles(const StripQuad& quad, GroundPoint origin, GroundPoint (&first)[3],
                   GroundPoint (&second)[3]);
