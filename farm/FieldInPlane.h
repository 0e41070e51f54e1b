// A field's boundary and headland in a work's plane (dm), and what each fix asks of them: is a
// point in the field, in its headland, does the implement's path ahead cross the boundary, and
// how much of a worked quad lies in the field. The rings of a field are a few thousand points
// at most, however large the work: each question walks them, after a look at their boxes.
#pragma once

#include <vector>

#include "coverage/StripQuad.h"

struct PlaneRing {
    std::vector<GroundPoint> points;  // open: the last point joins the first
    GroundBox box;
};

struct FieldInPlane {
    // Outer rings and holes alike: a point is inside when it is inside an odd number of them.
    std::vector<PlaneRing> boundary;
    // The headland's inner line; a field too narrow for one is headland all over.
    std::vector<PlaneRing> headland;
    GroundBox box;
    double areaDm2 = 0.0;

    bool contains(GroundPoint p) const;
    bool inHeadland(GroundPoint p) const;
    // The path swept by the implement from the edge left-right along travel meets the boundary.
    bool pathCrossesBoundary(GroundPoint left, GroundPoint right, GroundPoint travel) const;
    // The share (0 to 1) of the quad's two triangles that lies in the field.
    double shareInside(const StripQuad& quad) const;
};

// Rings as the work's plane has them, with their boxes and the field's area.
FieldInPlane fieldInPlane(std::vector<std::vector<GroundPoint>> boundary,
                          std::vector<std::vector<GroundPoint>> headland);
