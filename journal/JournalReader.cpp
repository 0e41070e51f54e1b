#include "journal/JournalReader.h"

#include <algorithm>
#include <cmath>

#include "journal/JournalFormat.h"
#include "journal/JournalValues.h"
#include "journal/JournalWorkKind.h"

namespace journal {

namespace {

bool finite(Vec2 v) {
    return std::isfinite(v.x) && std::isfinite(v.y);
}

// Applies one record; false when it cannot belong to the work read so far.
bool take(JournalContents& c, std::uint8_t type, PayloadReader in, std::size_t length) {
    // Before the work has started only its start record may come.
    if (!c.started && type != kRecordWorkStart) return type > kRecordView;
    switch (type) {
        case kRecordWorkStart: {
            if (c.started) return false;
            c.kind = in.u8();
            c.implementWidth = in.u16();
            c.implementHalfWidth = in.u16();
            c.started = c.kind == std::uint8_t(JournalWorkKind::Free) ||
                        c.kind == std::uint8_t(JournalWorkKind::AbLine);
            return in.ok() && c.started;
        }
        case kRecordOrigin: {
            if (c.originSet) return false;
            c.originLonLat[0] = in.f64();
            c.originLonLat[1] = in.f64();
            c.zone = in.i32();
            c.north = in.u8();
            c.originSet = in.ok() && std::fabs(c.originLonLat[0]) <= 180.0 &&
                          std::fabs(c.originLonLat[1]) <= 90.0 && c.zone >= 1 && c.zone <= 61 &&
                          c.north <= 1;
            return c.originSet;
        }
        case kRecordStripDm:
        case kRecordStrip: {
            StripEntry entry;
            if (!c.originSet) return false;
            if (!decodeStrip(RecordType(type), in, entry)) return false;
            c.strips.push_back(entry.edge);
            c.distance = entry.distance;
            c.area = entry.area;
            return true;
        }
        case kRecordPause: {
            const std::uint32_t mark = length == 2 ? in.u16() : in.u32();
            if (!in.ok() || mark > c.strips.size()) return false;
            if (!c.pauseMarks.empty() && mark < c.pauseMarks.back()) return false;
            c.pauseMarks.push_back(mark);
            c.paused = true;
            return true;
        }
        case kRecordUnpause:
            c.paused = false;
            return true;
        case kRecordPointA:
            c.pointA.x = in.f64();
            c.pointA.y = in.f64();
            c.pointASet =
                in.ok() && finite(c.pointA) && c.kind == std::uint8_t(JournalWorkKind::AbLine);
            return c.pointASet && !c.pointBSet;
        case kRecordPointB:
            c.pointB.x = in.f64();
            c.pointB.y = in.f64();
            c.spacing = in.f64();
            if (!in.ok() || !c.pointASet || c.pointBSet || !finite(c.pointB) ||
                !std::isfinite(c.spacing) || (c.pointB.x == c.pointA.x && c.pointB.y == c.pointA.y))
                return false;
            c.pointBSet = true;
            return true;
        case kRecordCurvePoints: {
            if (!c.pointASet || c.pointBSet || length % 16 != 0 || length == 0) return false;
            for (std::size_t i = 0; i < length / 16; ++i) {
                Vec2 p{in.f64(), in.f64()};
                if (!finite(p)) return false;
                c.curvePath.push_back(p);
            }
            return in.ok();
        }
        case kRecordSections: {
            if (length < 2 || length > 65) return false;
            c.sectionMaster = in.u8();
            c.sectionForces.resize(length - 1);
            for (std::uint8_t& f : c.sectionForces) f = in.u8();
            c.sectionsSet = in.ok() && c.sectionMaster <= 2 &&
                            std::all_of(c.sectionForces.begin(), c.sectionForces.end(),
                                        [](std::uint8_t f) { return f <= 2; });
            return c.sectionsSet;
        }
        case kRecordView:
            c.zoom = in.f32();
            c.northUp = in.u8();
            c.viewSet = in.ok() && std::isfinite(c.zoom) && c.zoom > 0.0f && c.northUp <= 1;
            return c.viewSet;
        default:
            // A record type of a later program: whole and checked, so passed over.
            (void)length;
            return true;
    }
}

}  // namespace

bool JournalContents::guided() const {
    return kind == std::uint8_t(JournalWorkKind::AbLine) && pointBSet;
}

JournalContents readJournal(const std::uint8_t* data, std::size_t size) {
    JournalContents c;
    if (data == nullptr || !headerValid(data, size)) return c;
    c.readable = true;
    JournalValues values;
    std::size_t at = kHeaderSize;
    while (size - at >= kRecordHeaderSize) {
        const std::uint8_t* p = data + at;
        std::uint32_t crc = PayloadReader(p, 4).u32();
        std::size_t length = std::size_t(p[4]) | std::size_t(p[5]) << 8;
        std::uint8_t type = p[6];
        if (size - at - kRecordHeaderSize < length) break;
        if (crc != crc32c(p + 4, 3 + length)) break;
        if (!take(c, type, PayloadReader(p + kRecordHeaderSize, length), length) ||
            !values.trusted(c, type)) {
            // Nothing of a refused record stays: the work is what the records before it made.
            c = readJournal(data, at);
            break;
        }
        ++c.records;
        at += kRecordHeaderSize + length;
    }
    c.goodBytes = at;
    c.damaged = at != size;
    return c;
}

}  // namespace journal
