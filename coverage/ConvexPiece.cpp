#include "coverage/ConvexPiece.h"

#include <algorithm>
#include <cmath>

namespace {

// Pieces smaller than this (dm^2: ten square millimetres) are rounding along a shared edge,
// not ground.
constexpr double kSliver = 1e-3;

double cross(GroundPoint a, GroundPoint b, GroundPoint p) {
    return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
}

// The part of piece on the left of a->b (keepLeft) or on its right; false when the result
// would not fit a piece, which leaves out unchanged.
bool clipHalfPlane(const ConvexPiece& piece, GroundPoint a, GroundPoint b, bool keepLeft,
                   ConvexPiece& out) {
    ConvexPiece result;
    const int n = piece.count;
    for (int i = 0; i < n; ++i) {
        const GroundPoint p = piece.corners[i];
        const GroundPoint q = piece.corners[(i + 1) % n];
        double sp = cross(a, b, p), sq = cross(a, b, q);
        if (!keepLeft) {
            sp = -sp;
            sq = -sq;
        }
        if (sp >= 0) {
            if (result.count == ConvexPiece::kMaxCorners) return false;
            result.corners[result.count++] = p;
        }
        if ((sp > 0 && sq < 0) || (sp < 0 && sq > 0)) {
            if (result.count == ConvexPiece::kMaxCorners) return false;
            const double t = sp / (sp - sq);
            result.corners[result.count++] = {p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)};
        }
    }
    out = result;
    return true;
}

// Whether a line of one of them has all of the other outside it or on it: then the two only
// touch, as a strip and its neighbour driven edge to edge do, and nothing of the piece is cut.
bool onlyTouch(const ConvexPiece& piece, const GroundPoint (&t)[3]) {
    constexpr double kOn = 1e-6;        // dm
    constexpr double kShortest = 1e-3;  // dm
    for (int e = 0; e < 3; ++e) {
        const GroundPoint a = t[e], b = t[(e + 1) % 3];
        const double length = std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y));
        // An edge of next to no length points nowhere in particular: it proves nothing.
        if (length < kShortest) continue;
        bool outside = true;
        for (int i = 0; i < piece.count && outside; ++i)
            outside = cross(a, b, piece.corners[i]) <= kOn * length;
        if (outside) return true;
    }
    for (int e = 0; e < piece.count; ++e) {
        const GroundPoint a = piece.corners[e], b = piece.corners[(e + 1) % piece.count];
        const double length = std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y));
        // An edge of next to no length points nowhere in particular: it proves nothing.
        if (length < kShortest) continue;
        bool outside = true;
        for (int i = 0; i < 3 && outside; ++i) outside = cross(a, b, t[i]) <= kOn * length;
        if (outside) return true;
    }
    return false;
}

}  // namespace

double quadArea(const StripQuad& q) {
    auto triangle = [](GroundPoint a, GroundPoint b, GroundPoint c) {
        return std::fabs((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x)) / 2.0;
    };
    return triangle(q.olderLeft, q.olderRight, q.newerLeft) +
           triangle(q.olderRight, q.newerLeft, q.newerRight);
}

GroundBox boxOf(const StripQuad& q) {
    return {std::min({q.olderLeft.x, q.olderRight.x, q.newerLeft.x, q.newerRight.x}),
            std::min({q.olderLeft.y, q.olderRight.y, q.newerLeft.y, q.newerRight.y}),
            std::max({q.olderLeft.x, q.olderRight.x, q.newerLeft.x, q.newerRight.x}),
            std::max({q.olderLeft.y, q.olderRight.y, q.newerLeft.y, q.newerRight.y})};
}

bool orientTriangle(GroundPoint (&t)[3]) {
    const double signedTwice = cross(t[0], t[1], t[2]);
    if (signedTwice < 0) std::swap(t[1], t[2]);
    return std::fabs(signedTwice) * 0.5 > kSliver;
}

ConvexPiece pieceOfTriangle(const GroundPoint (&t)[3]) {
    ConvexPiece piece;
    piece.corners[0] = t[0];
    piece.corners[1] = t[1];
    piece.corners[2] = t[2];
    piece.count = 3;
    return piece;
}

double pieceArea(const ConvexPiece& piece) {
    double twice = 0.0;
    for (int i = 1; i + 1 < piece.count; ++i)
        twice += cross(piece.corners[0], piece.corners[i], piece.corners[i + 1]);
    return 0.5 * std::fabs(twice);
}

GroundBox boxOf(const ConvexPiece& piece) {
    GroundBox box{piece.corners[0].x, piece.corners[0].y, piece.corners[0].x, piece.corners[0].y};
    for (int i = 1; i < piece.count; ++i) {
        box.minX = std::min(box.minX, piece.corners[i].x);
        box.minY = std::min(box.minY, piece.corners[i].y);
        box.maxX = std::max(box.maxX, piece.corners[i].x);
        box.maxY = std::max(box.maxY, piece.corners[i].y);
    }
    return box;
}

void subtractTriangle(const ConvexPiece& piece, const GroundPoint (&t)[3],
                      std::vector<ConvexPiece>& out) {
    if (onlyTouch(piece, t)) {
        out.push_back(piece);
        return;
    }
    ConvexPiece inside = piece;
    for (int e = 0; e < 3; ++e) {
        const GroundPoint a = t[e], b = t[(e + 1) % 3];
        ConvexPiece outside;
        ConvexPiece kept;
        if (!clipHalfPlane(inside, a, b, false, outside) ||
            !clipHalfPlane(inside, a, b, true, kept)) {
            // Too many corners to cut further: what is left counts as not under the triangle.
            out.push_back(inside);
            return;
        }
        if (outside.count >= 3 && pieceArea(outside) > kSliver) out.push_back(outside);
        inside = kept;
        if (inside.count < 3 || pieceArea(inside) <= kSliver) return;
    }
    // What is left lies under the triangle.
}

bool segmentInTriangle(GroundPoint a, GroundPoint b, const GroundPoint (&t)[3], double& enter,
                       double& leave) {
    enter = 0.0;
    leave = 1.0;
    for (int e = 0; e < 3; ++e) {
        const GroundPoint p = t[e], q = t[(e + 1) % 3];
        // Inside is the left of p->q: cross >= 0, linear in s along the segment.
        const double at0 = cross(p, q, a);
        const double at1 = cross(p, q, b);
        if (at0 < 0 && at1 < 0) return false;
        if (at0 < 0) enter = std::max(enter, at0 / (at0 - at1));
        if (at1 < 0) leave = std::min(leave, at0 / (at0 - at1));
        if (enter > leave) return false;
    }
    return true;
}

void quadTriangles(const StripQuad& q, GroundPoint o, GroundPoint (&first)[3],
                   GroundPoint (&second)[3]) {
    auto rel = [o](GroundPoint p) { return GroundPoint{p.x - o.x, p.y - o.y}; };
    first[0] = rel(q.olderLeft);
    first[1] = rel(q.olderRight);
    first[2] = rel(q.newerLeft);
    second[0] = rel(q.olderRight);
    second[1] = rel(q.newerLeft);
    second[2] = rel(q.newerRight);
}
