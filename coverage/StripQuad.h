// One worked piece of a strip: the implement's left and right edge at two strip records in a
// row, in plane decimetres. It is worked as the two triangles the worked area has always been
// counted from, so that a quad folded on a tight turn is still what the implement went over.
#pragma once

struct GroundPoint {
    double x = 0.0;
    double y = 0.0;
};

struct StripQuad {
    GroundPoint olderLeft;
    GroundPoint olderRight;
    GroundPoint newerLeft;
    GroundPoint newerRight;
};

// The box a quad or a view covers, in plane decimetres.
struct GroundBox {
    double minX = 0.0;
    double minY = 0.0;
    double maxX = 0.0;
    double maxY = 0.0;

    bool meets(const GroundBox& other) const {
        return minX <= other.maxX && other.minX <= maxX && minY <= other.maxY && other.minY <= maxY;
    }
};

GroundBox boxOf(const StripQuad& quad);
// The area of the quad's two triangles (dm^2), as the worked area counts it.
double quadArea(const StripQuad& quad);
