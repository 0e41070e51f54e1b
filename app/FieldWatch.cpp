#include "app/FieldWatch.h"

void watchField(const WorkRecord& work, FieldWork& field, const FieldStep& step) {
    if (field.recorder && step.appended && !work.strips.empty()) {
        const TrackEdge& edge = work.strips.back();
        field.recorder->add({edge.leftX, edge.leftY}, {edge.rightX, edge.rightY});
    }
    if (!field.inPlane) return;
    const std::uint32_t quads = work.coverage.size();
    if (step.appended && quads > step.quadsBefore && work.groundArea > step.groundBefore) {
        // The step's new ground lies in the field as its quads do, each by its area.
        double area = 0.0, inside = 0.0;
        for (std::uint32_t i = step.quadsBefore; i < quads; ++i) {
            const StripQuad& q = work.coverage.quad(i);
            const double a = quadArea(q);
            area += a;
            inside += a * field.shape.shareInside(q);
        }
        if (area > 0.0)
            field.groundInField += (work.groundArea - step.groundBefore) * inside / area;
    }
    const GroundPoint at{work.position.x, work.position.y};
    field.inHeadland = field.shape.inHeadland(at) ? 1 : 0;
    // The implement's edges across the vehicle, pushed ahead by the look-ahead's travel.
    const double reach = step.speedDmPerS * step.lookAheadSeconds;
    if (reach <= 0.0) {
        field.boundaryAhead = 0;
        return;
    }
    const GroundPoint left{at.x - step.halfWidth * step.unit.y,
                           at.y + step.halfWidth * step.unit.x};
    const GroundPoint right{at.x + step.halfWidth * step.unit.y,
                            at.y - step.halfWidth * step.unit.x};
    field.boundaryAhead =
        field.shape.pathCrossesBoundary(left, right, {step.unit.x * reach, step.unit.y * reach})
            ? 1
            : 0;
}
