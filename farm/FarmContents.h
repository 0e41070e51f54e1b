// What the farm book holds, as read into memory: every field with its boundary and headland,
// every field's guidance lines, and every work's figures. A work's ground (its multipolygon) is
// read only when a field is chosen: a farm's season of works is not needed to list the fields.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "farm/FieldShape.h"

struct FieldEntry {
    std::int64_t id = 0;  // the book's feature id; 0 before the book has it
    std::string name;
    FieldShape boundary;
    double areaHa = 0.0;  // the boundary's area
    // The headland's inner line: the boundary buffered inward by headlandPasses implement widths
    // of headlandWidthM metres each. Empty when the field has none.
    FieldShape headland;
    int headlandPasses = 0;
    double headlandWidthM = 0.0;
};

struct LineEntry {
    std::int64_t id = 0;
    std::int64_t fieldId = 0;
    std::string name;
    std::uint8_t pattern = 0;  // kPatternStraight, kPatternHeading or kPatternCurve
    LonLat a;
    LonLat b;
    double headingDeg = 0.0;  // from A towards B, clockwise from north
    // The line itself: A to B, or the whole thinned curve.
    std::vector<LonLat> path;
};

struct WorkEntry {
    std::int64_t id = 0;
    std::int64_t fieldId = 0;
    std::string startTime;  // ISO 8601, UTC: 2026-06-01T08:15:00Z
    std::string endTime;
    double widthM = 0.0;
    double groundHa = 0.0;
    double overlapHa = 0.0;
    double distanceKm = 0.0;
};

struct FarmContents {
    std::vector<FieldEntry> fields;
    std::vector<LineEntry> lines;
    std::vector<WorkEntry> works;

    const FieldEntry* field(std::int64_t id) const {
        for (const FieldEntry& f : fields)
            if (f.id == id) return &f;
        return nullptr;
    }
};
