// A work journal written record by record, with values of the test's choosing: the lies a bad
// card or another program could leave behind a whole checksum.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "guidance/Projection.h"
#include "guidance/TrackEdge.h"
#include "guidance/Vec2.h"
#include "journal/JournalFormat.h"
#include "journal/JournalWorkKind.h"

namespace journal_test {

class JournalBytes {
  public:
    JournalBytes() { journal::appendHeader(bytes); }

    void start(std::uint16_t width = 1200, std::uint16_t halfWidth = 600) {
        journal::PayloadWriter w;
        w.u8(std::uint8_t(JournalWorkKind::AbLine));
        w.u16(width);
        w.u16(halfWidth);
        add(journal::kRecordWorkStart, w);
    }
    void origin(double lon, double lat) {
        journal::PayloadWriter w;
        w.f64(lon);
        w.f64(lat);
        w.i32(utmZoneForLongitude(lon).zone);
        w.u8(lat >= 0.0 ? 1 : 0);
        add(journal::kRecordOrigin, w);
    }
    void strip(TrackEdge edge, double distance, double area) {
        add(journal::kRecordStrip, journal::encodeStrip({edge, distance, area}));
    }
    void pointA(Vec2 a) {
        journal::PayloadWriter w;
        w.f64(a.x);
        w.f64(a.y);
        add(journal::kRecordPointA, w);
    }
    void curve(const std::vector<Vec2>& points) {
        for (std::size_t at = 0; at < points.size(); at += journal::kCurvePointsPerRecord) {
            journal::PayloadWriter w;
            for (std::size_t i = at; i < points.size() && i < at + journal::kCurvePointsPerRecord;
                 ++i) {
                w.f64(points[i].x);
                w.f64(points[i].y);
            }
            add(journal::kRecordCurvePoints, w);
        }
    }
    void pointB(Vec2 b, double spacing) {
        journal::PayloadWriter w;
        w.f64(b.x);
        w.f64(b.y);
        w.f64(spacing);
        add(journal::kRecordPointB, w);
    }
    void view(float zoom, std::uint8_t northUp) {
        journal::PayloadWriter w;
        w.f32(zoom);
        w.u8(northUp);
        add(journal::kRecordView, w);
    }
    // The next record is the lie: where it starts, and how many records stand before it.
    void lie() {
        lieAt = bytes.size();
        recordsBeforeLie = records;
    }

    std::vector<std::uint8_t> bytes;
    std::size_t records = 0;
    std::size_t lieAt = 0;
    std::size_t recordsBeforeLie = 0;

  private:
    void add(journal::RecordType type, const journal::PayloadWriter& w) {
        journal::appendRecord(bytes, type, w);
        ++records;
    }
};

}  // namespace journal_test
