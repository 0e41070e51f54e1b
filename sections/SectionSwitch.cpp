#include "sections/SectionSwitch.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "coverage/ConvexPiece.h"

namespace {

// A lane lies this far inside its section's edge, or a quarter of a narrow section's width:
// the section next to it owns the edge itself.
constexpr double kEdgeInset = 0.25;  // dm
// Lanes of a section at most this far apart, so that a narrow strip of unworked ground between
// two passes still keeps the section on.
constexpr double kLaneGap = 2.5;  // dm
// Worked pieces of a lane closer than this are one: neighbouring quads share their edges, and
// the two crossings of a shared edge may differ in their last bits.
constexpr double kJoin = 1e-7;  // dm
// The shortest stretch of ground a section switches for (dm).
constexpr double kShortestStretch = 0.3;

struct Span {
    double lo, hi;  // a lane's distances [lo, hi) along travel
};

// A distance along one lane, for the counting sort of spans and crossings by lane.
struct LaneSpan {
    int lane;
    Span span;
};

// The ground in the implement's own frame: u across from the bar's centre toward its right end
// (the sections' offsets), v along travel from the bar. The frame is oblique when the bar is
// not square to travel, so that a lane is always the line u = its offset, and v the distance.
struct Frame {
    GroundPoint centre, across, travel;
    double inverseDet = 1.0;
    GroundPoint of(GroundPoint p) const { return ofRelative({p.x - centre.x, p.y - centre.y}); }
    GroundPoint ofRelative(GroundPoint r) const {
        return {(r.x * travel.y - r.y * travel.x) * inverseDet,
                (across.x * r.y - across.y * r.x) * inverseDet};
    }
    GroundPoint at(double u, double v) const {
        return {centre.x + u * across.x + v * travel.x, centre.y + u * across.y + v * travel.y};
    }
};

// Kept between calls: the fix thread decides at every fix and should not allocate for it.
struct Scratch {
    std::vector<double> laneOffset;
    std::vector<int> sectionFirstLane;  // count + 1 entries
    std::vector<std::uint32_t> ids;
    std::vector<LaneSpan> records;
    std::vector<Span> crossings;  // where each lane crosses a ring's edge: lo = hi
    std::vector<int> crossingsFirst;
    std::vector<int> counts;
    std::vector<Span> sorted;
    // Each lane's worked ground, ground outside the field, and ground outside the headland's
    // inner line, as disjoint sorted spans: lane k's are [first[k], first[k + 1]).
    std::vector<Span> worked, outside, beyondInner;
    std::vector<int> workedFirst, outsideFirst, beyondFirst;
    std::vector<GroundPoint> boundaryEdges, headlandEdges;  // pairs in the frame
    std::vector<double> barCrossings;
    std::vector<int> cursor;
    // A ring's points against the path's box; not bytes, which the compiler must assume alias
    // the points and the box.
    std::vector<std::uint32_t> codes;
};

Scratch& scratch() {
    thread_local Scratch s;
    return s;
}

// The lanes whose offset lies in [lo, hi].
void lanesIn(const std::vector<double>& offsets, double lo, double hi, int& first, int& last) {
    first = int(std::lower_bound(offsets.begin(), offsets.end(), lo) - offsets.begin());
    last = int(std::upper_bound(offsets.begin(), offsets.end(), hi) - offsets.begin());
}

// Sorts records by lane (a counting sort: the lanes are few and dense) into spans with a first
// index per lane; each lane's spans are then sorted by start and, when join, merged.
void spansByLane(const std::vector<LaneSpan>& records, int lanes, bool join,
                 std::vector<int>& counts, std::vector<Span>& sorted, std::vector<Span>& out,
                 std::vector<int>& first) {
    counts.assign(std::size_t(lanes) + 1, 0);
    for (const LaneSpan& r : records) ++counts[std::size_t(r.lane) + 1];
    for (int k = 0; k < lanes; ++k) counts[std::size_t(k) + 1] += counts[std::size_t(k)];
    sorted.resize(records.size());
    first.assign(counts.begin(), counts.end());
    for (const LaneSpan& r : records) sorted[std::size_t(first[std::size_t(r.lane)]++)] = r.span;
    out.clear();
    first.assign(std::size_t(lanes) + 1, 0);
    for (int k = 0; k < lanes; ++k) {
        first[std::size_t(k)] = int(out.size());
        auto b = sorted.begin() + counts[std::size_t(k)];
        auto e = sorted.begin() + counts[std::size_t(k) + 1];
        // A lane meets few spans: sorted in place by insertion.
        for (auto it = b + (b != e); it < e; ++it) {
            const Span x = *it;
            auto at = it;
            for (; at != b && (at - 1)->lo > x.lo; --at) *at = *(at - 1);
            *at = x;
        }
        for (auto it = b; it != e; ++it) {
            if (join && out.size() > std::size_t(first[std::size_t(k)]) &&
                it->lo <= out.back().hi + kJoin)
                out.back().hi = std::max(out.back().hi, it->hi);
            else
                out.push_back(*it);
        }
    }
    first[std::size_t(lanes)] = int(out.size());
}

// The ring edges that meet box, in the frame, as pairs of points; and, when parity is given,
// whether p is inside an odd number of the rings (a ray toward +x, as the field's own test).
// A ring is walked once for both.
void edgesNear(const std::vector<PlaneRing>& rings, const GroundBox& box, const Frame& frame,
               std::vector<GroundPoint>& edges, GroundPoint p, bool* parity) {
    edges.clear();
    std::vector<std::uint32_t>& codes = scratch().codes;
    const double minX = box.minX, maxX = box.maxX, minY = box.minY, maxY = box.maxY;
    bool inside = false;
    for (const PlaneRing& ring : rings) {
        const bool near = ring.box.meets(box);
        const bool around = parity && p.x >= ring.box.minX && p.x <= ring.box.maxX &&
                            p.y >= ring.box.minY && p.y <= ring.box.maxY;
        if (!near && !around) continue;
        const GroundPoint* q = ring.points.data();
        const std::size_t n = ring.points.size();
        // First where each point lies against the box's sides and p's height, in a loop the
        // compiler can run several points at a time; then the rare edges that need more.
        codes.resize(n);
        std::uint32_t* code = codes.data();
        const double py = p.y;
        for (std::size_t i = 0; i < n; ++i)
            code[i] = std::uint32_t(q[i].x < minX) | std::uint32_t(q[i].x > maxX) << 1 |
                      std::uint32_t(q[i].y < minY) << 2 | std::uint32_t(q[i].y > maxY) << 3 |
                      std::uint32_t(q[i].y > py) << 4;
        const std::uint32_t sides = near ? 15 : 0;
        const std::uint32_t height = around ? 16 : 0;
        for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
            const std::uint32_t a = code[i], b = code[j];
            // An edge whose ends lie both beyond one side of the box misses it.
            const bool meets = near && (a & b & sides) == 0;
            const bool crosses = ((a ^ b) & height) != 0;
            if (!meets && !crosses) [[likely]]
                continue;
            if (meets) {
                edges.push_back(frame.of(q[j]));
                edges.push_back(frame.of(q[i]));
            }
            if (crosses && p.x < (q[j].x - q[i].x) * (p.y - q[i].y) / (q[j].y - q[i].y) + q[i].x)
                inside = !inside;
        }
    }
    if (parity) *parity = inside;
}

// Each lane's spans on the side of the rings' edges opposite to where startInside says the
// leftmost lane starts: outside the rings when startInside is their parity there. Parity is
// carried along the bar to each lane's start and then along the lane by the edges it crosses.
void spansBeyond(const std::vector<GroundPoint>& edges, bool startInside, double reach, Scratch& s,
                 std::vector<Span>& out, std::vector<int>& first) {
    const std::vector<double>& offsets = s.laneOffset;
    const int lanes = int(offsets.size());
    s.barCrossings.clear();
    s.records.clear();
    for (std::size_t e = 0; e < edges.size(); e += 2) {
        const GroundPoint p = edges[e], q = edges[e + 1];
        if ((p.y > 0) != (q.y > 0))
            s.barCrossings.push_back(p.x + (0 - p.y) / (q.y - p.y) * (q.x - p.x));
        int a, b;
        lanesIn(offsets, std::min(p.x, q.x), std::max(p.x, q.x), a, b);
        for (int k = a; k < b; ++k) {
            const double o = offsets[std::size_t(k)];
            if ((p.x > o) == (q.x > o)) continue;
            const double v = p.y + (o - p.x) / (q.x - p.x) * (q.y - p.y);
            if (v > 0 && v < reach) s.records.push_back({k, {v, v}});
        }
    }
    std::sort(s.barCrossings.begin(), s.barCrossings.end());
    std::vector<Span>& crossings = s.crossings;
    std::vector<int>& crossingsFirst = s.crossingsFirst;
    spansByLane(s.records, lanes, false, s.counts, s.sorted, crossings, crossingsFirst);
    // Each lane's sorted crossings become its spans beyond the rings.
    out.clear();
    first.assign(std::size_t(lanes) + 1, 0);
    std::size_t bar = 0;
    bool inside = startInside;
    const double leftmost = lanes ? offsets[0] : 0.0;
    while (bar < s.barCrossings.size() && s.barCrossings[bar] <= leftmost) ++bar;
    for (int k = 0; k < lanes; ++k) {
        while (bar < s.barCrossings.size() && s.barCrossings[bar] <= offsets[std::size_t(k)]) {
            inside = !inside;
            ++bar;
        }
        first[std::size_t(k)] = int(out.size());
        bool in = inside;
        double from = 0.0;
        for (int i = crossingsFirst[std::size_t(k)]; i < crossingsFirst[std::size_t(k) + 1]; ++i) {
            const double v = crossings[std::size_t(i)].lo;
            if (!in) out.push_back({from, v});
            in = !in;
            from = v;
        }
        if (!in) out.push_back({from, reach});
    }
    first[std::size_t(lanes)] = int(out.size());
}

// The state of one section's ground at a distance, from how many of its lanes are where.
SectionReason stateOf(int lanes, int outside, int headland, int worked, const SectionRules& rules) {
    if (outside > 0) return SectionReason::OutsideField;
    if (rules.offInHeadland && headland > 0) return SectionReason::Headland;
    const double share = double(worked) / lanes;
    if (worked > 0 && share >= rules.coverageShare) return SectionReason::WorkedGround;
    return SectionReason::On;
}

bool inSpans(const Span* b, const Span* e, double d) {
    const Span* it = std::upper_bound(b, e, d, [](double x, const Span& s) { return x < s.lo; });
    return it != b && (it - 1)->hi > d;
}

}  // namespace

void decideSections(const SectionLayout& layout, const SectionRules& rules,
                    const SectionScene& scene, std::span<SectionDecision> out) {
    const int count = std::min(layout.count(), int(out.size()));
    if (scene.speed < rules.minSpeed) {
        for (int i = 0; i < count; ++i)
            out[std::size_t(i)] = {false, SectionReason::TooSlow, kNoChange, false};
        return;
    }
    Scratch& s = scratch();

    // The frame. A bar of no length is taken square to travel, and no travel square to the bar.
    Frame frame;
    frame.centre = {(scene.left.x + scene.right.x) / 2, (scene.left.y + scene.right.y) / 2};
    GroundPoint across{scene.right.x - scene.left.x, scene.right.y - scene.left.y};
    GroundPoint travel = scene.travel;
    const double barLength = std::hypot(across.x, across.y);
    const double travelLength = std::hypot(travel.x, travel.y);
    if (travelLength > 0) travel = {travel.x / travelLength, travel.y / travelLength};
    if (barLength > 0)
        across = {across.x / barLength, across.y / barLength};
    else if (travelLength > 0)
        across = {travel.y, -travel.x};
    else
        across = {1.0, 0.0};
    if (!(travelLength > 0)) travel = {-across.y, across.x};
    double det = across.x * travel.y - across.y * travel.x;
    if (std::fabs(det) < 1e-9) {
        // Travel along the bar: the sections' strips have no length; take them square.
        travel = {-across.y, across.x};
        det = 1.0;
    }
    frame.across = across;
    frame.travel = travel;
    frame.inverseDet = 1.0 / det;

    const double speed = std::max(0.0, scene.speed);
    const double horizon = std::max(0.0, scene.horizon);
    const double onAt = speed * std::max(0.0, rules.turnOnSeconds);
    const double offAt = speed * std::max(0.0, rules.turnOffSeconds);
    // A decimetre more, so that no end of what is found lies within the horizon.
    const double reach = std::max(onAt, offAt) + horizon + 1.0;

    // The lanes, left to right.
    s.laneOffset.clear();
    s.sectionFirstLane.clear();
    // The sections' edges as SectionLayout gives them, added up once rather than per section.
    long long edgeCm = 0;
    for (int i = 0; i < count; ++i) {
        s.sectionFirstLane.push_back(int(s.laneOffset.size()));
        const double l = double(2 * edgeCm - layout.implementWidthCm) / 20.0;
        edgeCm += layout.widthsCm[std::size_t(i)];
        const double r = double(2 * edgeCm - layout.implementWidthCm) / 20.0;
        const double width = r - l;
        if (!(width > 0)) {
            s.laneOffset.push_back(l);
            continue;
        }
        const double inset = std::min(kEdgeInset, width / 4);
        const double a = l + inset, b = r - inset;
        const int gaps = std::max(1, int(std::ceil((b - a) / kLaneGap)));
        for (int k = 0; k <= gaps; ++k)
            s.laneOffset.push_back(k == gaps ? b : a + (b - a) * k / gaps);
    }
    s.sectionFirstLane.push_back(int(s.laneOffset.size()));
    const int lanes = int(s.laneOffset.size());
    if (count == 0) return;

    // The box of the implement's path to reach.
    const double uMin = s.laneOffset.front(), uMax = s.laneOffset.back();
    const GroundPoint corners[4] = {frame.at(uMin, 0), frame.at(uMax, 0), frame.at(uMin, reach),
                                    frame.at(uMax, reach)};
    const GroundBox path{std::min({corners[0].x, corners[1].x, corners[2].x, corners[3].x}),
                         std::min({corners[0].y, corners[1].y, corners[2].y, corners[3].y}),
                         std::max({corners[0].x, corners[1].x, corners[2].x, corners[3].x}),
                         std::max({corners[0].y, corners[1].y, corners[2].y, corners[3].y})};

    // Worked ground: each lane across each of the quads' two triangles.
    s.records.clear();
    if (scene.coverage) {
        scene.coverage->quadsMeeting(path, s.ids);
        for (std::uint32_t id : s.ids) {
            if (id >= scene.ignoreFrom) break;  // ids come in the order they were added
            GroundPoint triangles[2][3];
            quadTriangles(scene.coverage->quad(id), frame.centre, triangles[0], triangles[1]);
            for (auto& t : triangles) {
                if (!orientTriangle(t)) continue;
                GroundPoint c[3] = {frame.ofRelative(t[0]), frame.ofRelative(t[1]),
                                    frame.ofRelative(t[2])};
                std::sort(c, c + 3, [](GroundPoint p, GroundPoint q) { return p.x < q.x; });
                if (std::min({c[0].y, c[1].y, c[2].y}) >= reach ||
                    std::max({c[0].y, c[1].y, c[2].y}) <= 0)
                    continue;
                int a, b;
                lanesIn(s.laneOffset, c[0].x, c[2].x, a, b);
                for (int k = a; k < b; ++k) {
                    const double o = s.laneOffset[std::size_t(k)];
                    // The lane crosses the long side c0-c2 and one of the two short ones.
                    const double v1 = c[2].x > c[0].x ? c[0].y + (o - c[0].x) / (c[2].x - c[0].x) *
                                                                     (c[2].y - c[0].y)
                                                      : c[0].y;
                    double v2;
                    if (o < c[1].x)
                        v2 = c[0].y + (o - c[0].x) / (c[1].x - c[0].x) * (c[1].y - c[0].y);
                    else if (c[2].x > c[1].x)
                        v2 = c[1].y + (o - c[1].x) / (c[2].x - c[1].x) * (c[2].y - c[1].y);
                    else
                        v2 = c[1].y;
                    const double lo = std::max(0.0, std::min(v1, v2));
                    const double hi = std::min(reach, std::max(v1, v2));
                    if (hi > lo) s.records.push_back({k, {lo, hi}});
                }
            }
        }
    }
    spansByLane(s.records, lanes, true, s.counts, s.sorted, s.worked, s.workedFirst);

    // The field: where each lane is outside it and, for the headland, beyond its inner line.
    const bool field = scene.field != nullptr;
    const bool headland = field && rules.offInHeadland;
    if (field) {
        const GroundPoint start = frame.at(uMin, 0);
        // The parity at the start is the field's contains(start), found in the same walk of the
        // rings as their edges near the path.
        bool inField = false;
        edgesNear(scene.field->boundary, path, frame, s.boundaryEdges, start, &inField);
        spansBeyond(s.boundaryEdges, inField, reach, s, s.outside, s.outsideFirst);
        if (headland) {
            bool insideInner = false;
            edgesNear(scene.field->headland, path, frame, s.headlandEdges, start, &insideInner);
            spansBeyond(s.headlandEdges, insideInner, reach, s, s.beyondInner, s.beyondFirst);
        }
    }
    const std::vector<Span>* lists[3] = {&s.worked, &s.outside, &s.beyondInner};
    const std::vector<int>* firsts[3] = {&s.workedFirst, &s.outsideFirst, &s.beyondFirst};
    const bool used[3] = {true, field, headland};

    s.cursor.resize(std::size_t(lanes) * 3);
    for (int i = 0; i < count; ++i) {
        const int first = s.sectionFirstLane[std::size_t(i)];
        const int last = s.sectionFirstLane[std::size_t(i) + 1];
        const int n = last - first;
        // Each lane's place in its three lists; every list is walked forward as d grows.
        auto stateAt = [&](double d, bool walk) {
            int where[3] = {0, 0, 0};
            for (int kind = 0; kind < 3; ++kind) {
                if (!used[kind]) continue;
                const std::vector<Span>& list = *lists[kind];
                const std::vector<int>& starts = *firsts[kind];
                for (int k = first; k < last; ++k) {
                    const Span* b = list.data() + starts[std::size_t(k)];
                    const Span* e = list.data() + starts[std::size_t(k) + 1];
                    bool in;
                    if (walk) {
                        int& c = s.cursor[std::size_t(k) * 3 + std::size_t(kind)];
                        while (b + c < e && b[c].hi <= d) ++c;
                        in = b + c < e && b[c].lo <= d;
                    } else {
                        in = inSpans(b, e, d);
                    }
                    where[kind] += in ? 1 : 0;
                }
            }
            return stateOf(n, where[1], where[2], where[0], rules);
        };
        for (int k = first; k < last; ++k)
            for (int kind = 0; kind < 3; ++kind)
                s.cursor[std::size_t(k) * 3 + std::size_t(kind)] = 0;
        const SectionReason now = stateAt(0.0, true);
        const bool on = now == SectionReason::On;
        // The next end of a span after d, over the section's lanes.
        double changeAt = kNoChange;
        for (double d = 0.0;;) {
            double next = kNoChange;
            for (int kind = 0; kind < 3; ++kind) {
                if (!used[kind]) continue;
                const std::vector<Span>& list = *lists[kind];
                const std::vector<int>& starts = *firsts[kind];
                for (int k = first; k < last; ++k) {
                    const Span* b = list.data() + starts[std::size_t(k)];
                    const Span* e = list.data() + starts[std::size_t(k) + 1];
                    const int c = s.cursor[std::size_t(k) * 3 + std::size_t(kind)];
                    if (b + c < e) next = std::min(next, b[c].lo > d ? b[c].lo : b[c].hi);
                }
            }
            if (!(next <= horizon)) break;
            d = next;
            // A stretch of the other state shorter than a few centimetres is where two edges
            // meet (worked ground that ends where the field does): no valve switches for it,
            // and a switch there would hold until the next fix.
            if ((stateAt(d, true) == SectionReason::On) != on &&
                (stateAt(d + kShortestStretch, false) == SectionReason::On) != on) {
                changeAt = d;
                break;
            }
        }
        const bool commandOn =
            stateAt(onAt, false) == SectionReason::On || stateAt(offAt, false) == SectionReason::On;
        out[std::size_t(i)] = {on, now, changeAt, commandOn};
    }
}
