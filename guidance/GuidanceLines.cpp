// The AB line and its parallels: line n lies n spacings to the right of AB, looking from A to B.
#include "guidance/GuidanceLines.h"

#include <cmath>

namespace {

// The hill-climb gives up after this many lines per fix; a larger jump is followed over
// several fixes, so the work of one fix stays bounded.
constexpr int kMaxClimbSteps = 200;

double dot(Vec2 a, Vec2 b) {
    return a.x * b.x + a.y * b.y;
}

// The foot of the perpendicular from p onto the infinite line through the guide line's ends.
// Points A and B set without moving leave a line of no length; its start is then the foot, so
// the distances stay finite instead of becoming 0 / 0.
Vec2 footOnLine(Vec2 p, const GuideLine& line) {
    Vec2 v = line.end - line.start;
    double vv = dot(v, v);
    if (vv == 0.0) return line.start;
    double t = dot(p - line.start, v) / vv;
    return line.start + t * v;
}

std::size_t slotOf(int number) {
    return number >= 0 ? 2 * std::size_t(number) : 2 * std::size_t(-(number + 1)) + 1;
}

}  // namespace

void setAbLine(GuidanceLines& lines, Vec2 a, Vec2 b, double spacing) {
    lines.anchorA = a;
    lines.anchorB = b;
    lines.spacing = spacing;
    lines.currentLine = 0;
    Vec2 direction = b - a;
    direction.normalize();
    lines.direction = direction;
    lines.crossAxis = {direction.y, direction.x};
    lines.leftNormal = direction.perpendicular();
    lines.lines.clear();
    lines.lineSlots.clear();
    for (int n = -10; n <= 10; ++n) createGuideLine(lines, n);
}

void createGuideLine(GuidanceLines& lines, int number) {
    double offset = static_cast<double>(number) * lines.spacing;
    Vec2 shift = offset * lines.leftNormal;
    lines.lines.push_back({lines.anchorA - shift, lines.anchorB - shift, number});
    const std::size_t slot = slotOf(number);
    if (slot >= lines.lineSlots.size()) lines.lineSlots.resize(slot + 1, -1);
    lines.lineSlots[slot] = static_cast<std::int32_t>(lines.lines.size() - 1);
}

int findGuideLine(const GuidanceLines& lines, int number) {
    const std::size_t slot = slotOf(number);
    if (slot < lines.lineSlots.size()) {
        const std::int32_t index = lines.lineSlots[slot];
        if (index >= 0 && std::size_t(index) < lines.lines.size() &&
            lines.lines[std::size_t(index)].number == number)
            return index;
    }
    // Lines put in by hand have no slot.
    for (std::size_t i = 0; i < lines.lines.size(); ++i)
        if (lines.lines[i].number == number) return static_cast<int>(i);
    return -1;
}

double distanceToGuideLine(GuidanceLines& lines, Vec2 point, int number) {
    int index = findGuideLine(lines, number);
    if (index < 0) {
        createGuideLine(lines, number);
        index = static_cast<int>(lines.lines.size()) - 1;
    }
    return (point - footOnLine(point, lines.lines[index])).length();
}

int followNearestLine(GuidanceLines& lines, Vec2 point, Vec2 travel, double& crossTrack,
                      Vec2& foot) {
    int k = lines.currentLine;
    // Climb toward the nearer neighbour while it is strictly nearer: equal distances never move.
    if (distanceToGuideLine(lines, point, k) > distanceToGuideLine(lines, point, k + 1)) {
        for (int steps = 0; steps < kMaxClimbSteps && distanceToGuideLine(lines, point, k) >
                                                          distanceToGuideLine(lines, point, k + 1);
             ++steps) {
            lines.currentLine = ++k;
        }
    } else if (distanceToGuideLine(lines, point, k) > distanceToGuideLine(lines, point, k - 1)) {
        for (int steps = 0; steps < kMaxClimbSteps && distanceToGuideLine(lines, point, k) >
                                                          distanceToGuideLine(lines, point, k - 1);
             ++steps) {
            lines.currentLine = --k;
        }
    }
    const GuideLine& line = lines.lines[findGuideLine(lines, k)];
    crossTrack = signedCrossTrack(lines, point, line, foot, travel);
    return k;
}

double signedCrossTrack(const GuidanceLines& lines, Vec2 point, const GuideLine& line, Vec2& foot,
                        Vec2 travel) {
    Vec2 f = footOnLine(point, line);
    foot = f;
    // Which side of the AB direction a point lies on; only the comparison of the two matters.
    double sidePoint = lines.crossAxis.y * point.y - lines.crossAxis.x * point.x;
    double sideFoot = lines.crossAxis.y * f.y - lines.crossAxis.x * f.x;
    double dist = (point - f).length();
    // Seen in the vehicle's own direction of travel: left of the line is negative, right of it
    // or on it positive. Travelling exactly across AB counts as travelling toward A.
    if (dot(lines.direction, travel) > 0.0) return sidePoint > sideFoot ? -dist : dist;
    return sidePoint < sideFoot ? -dist : dist;
}
