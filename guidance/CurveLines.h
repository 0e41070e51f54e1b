// The curved AB line: the path driven from A to B, thinned, and its parallels one implement
// width apart, numbered as the straight lines are (line n lies n spacings to the right of the
// path, looking from A to B). Beyond A and B every line goes on straight along the path's end
// directions. Parallels are made by GEOS only when needed and kept in a small cache.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "guidance/Polyline.h"
#include "guidance/Vec2.h"

// Points of the driven path closer than this (dm) to the thinned path are dropped.
inline constexpr double kCurveThinning = 0.05;
// How far (dm) each line goes on straight beyond A and B.
inline constexpr double kCurveExtension = 50000.0;

struct CurveParallel {
    std::int32_t number = 0;
    Polyline line;
    std::size_t hint = 0;
};

struct CurveGuidance {
    // The thinned path from A to B, as journaled and saved.
    std::vector<Vec2> path;
    // The path with its straight extensions: line 0.
    Polyline reference;
    double spacing = 0.0;
    std::int32_t currentLine = 0;
    std::size_t referenceHint = 0;
    std::vector<CurveParallel> cache;
};

struct CurveFollow {
    std::int32_t number = 0;
    // dm, positive: right of the line in the direction of travel, steer left.
    double crossTrack = 0.0;
    Vec2 foot;
};

// Sets the curve from the driven path (dm); false, and nothing set, when the path has no length.
bool setCurveLine(CurveGuidance& curve, const std::vector<Vec2>& driven, double spacing);
// Sets it from a path already thinned (a resumed or saved line).
bool setCurvePath(CurveGuidance& curve, std::vector<Vec2> path, double spacing);
// Line n, made on first use.
CurveParallel& curveParallel(CurveGuidance& curve, std::int32_t number);
// The nearest line to the point, followed from now on, and the signed cross-track error to it.
CurveFollow followNearestCurve(CurveGuidance& curve, Vec2 point, Vec2 travel);
