// Reading a work journal back: every record up to the first one that is cut short, fails its
// checksum or makes no sense for the work so far.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "guidance/TrackEdge.h"
#include "guidance/Vec2.h"

namespace journal {

struct JournalContents {
    bool readable = false;  // the header is whole and of a version this program reads
    bool started = false;   // the work-start record was read
    std::uint8_t kind = 0;  // a JournalWorkKind: free work or an AB-line work
    std::uint16_t implementWidth = 0;
    std::uint16_t implementHalfWidth = 0;
    bool originSet = false;
    double originLonLat[2] = {};
    std::int32_t zone = 0;
    std::uint8_t north = 1;
    std::vector<TrackEdge> strips;
    double distance = 0.0;  // dm
    double area = 0.0;      // dm^2
    std::vector<std::uint32_t> pauseMarks;
    bool paused = false;
    bool pointASet = false;
    Vec2 pointA;
    bool pointBSet = false;
    Vec2 pointB;
    // The curved reference line from A to B, when the line is a curve; empty for a straight one.
    std::vector<Vec2> curvePath;
    double spacing = 0.0;
    // The section bar's master and forces, when the work had them (see kRecordSections).
    bool sectionsSet = false;
    std::uint8_t sectionMaster = 0;
    std::vector<std::uint8_t> sectionForces;
    bool viewSet = false;
    float zoom = 0.0f;
    std::uint8_t northUp = 0;
    std::size_t records = 0;    // records taken, unknown types included
    std::size_t goodBytes = 0;  // the header and the records taken
    bool damaged = false;       // something follows the records taken

    // An AB-line work with both points: it continues in guidance.
    bool guided() const;
};

JournalContents readJournal(const std::uint8_t* data, std::size_t size);

}  // namespace journal
