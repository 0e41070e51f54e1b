// Section control at a fix on a large work: a 24 m implement of 64 sections at 10 km/h, on a
// work of a million quads 5 dm long, driven in passes 1.5 km long side by side 0.75 widths
// apart, so that the path ahead is partly worked; the field's boundary and headland are rings
// of 3 000 points.
//
// sections_fix_us          one decideSections call at the millionth quad, off in the headland
// sections_fix_nofield_us  the same for a work without a field
// Goal: sections_fix_us under 50.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#include "sections/SectionSwitch.h"

namespace {

constexpr double kWidth = 240.0;            // dm
constexpr double kSpacing = 0.75 * kWidth;  // dm between passes
constexpr double kStep = 5.0;               // dm a quad
constexpr int kPerPass = 3000;
constexpr std::uint32_t kQuads = 1000000;
constexpr double kSpeed = 10.0 / 0.36;  // 10 km/h in dm/s

// A ring of n points round the box, its sides gently waved as a surveyed boundary is.
std::vector<GroundPoint> ringRound(double x0, double y0, double x1, double y1, int n) {
    std::vector<GroundPoint> ring;
    const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2, rx = (x1 - x0) / 2, ry = (y1 - y0) / 2;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * i / n;
        // A rounded rectangle: the superellipse of power 8.
        const double c = std::cos(a), s = std::sin(a);
        const double px = std::copysign(std::pow(std::fabs(c), 0.25), c);
        const double py = std::copysign(std::pow(std::fabs(s), 0.25), s);
        const double wave = 1.0 + 0.002 * std::sin(40 * a);
        ring.push_back({cx + rx * px * wave, cy + ry * py * wave});
    }
    return ring;
}

double meanMicroseconds(const SectionLayout& layout, const SectionRules& rules,
                        const SectionScene& scene, int calls) {
    std::vector<SectionDecision> out(std::size_t(layout.count()));
    decideSections(layout, rules, scene, out);  // warms the scratch
    const auto start = std::chrono::steady_clock::now();
    int on = 0;
    for (int i = 0; i < calls; ++i) {
        decideSections(layout, rules, scene, out);
        on += out[0].command ? 1 : 0;
    }
    const auto end = std::chrono::steady_clock::now();
    if (on < 0) std::printf("unreachable\n");
    return std::chrono::duration<double, std::micro>(end - start).count() / calls;
}

}  // namespace

int main() {
    CoverageMap map;
    StripQuad last{};
    for (std::uint32_t id = 0; id < kQuads; ++id) {
        const int pass = int(id / kPerPass), along = int(id % kPerPass);
        const double x = pass * kSpacing;
        const bool north = pass % 2 == 0;
        const double y0 = north ? along * kStep : (kPerPass - along) * kStep;
        const double y1 = north ? y0 + kStep : y0 - kStep;
        const double side = north ? kWidth / 2 : -kWidth / 2;  // to the driver's left
        last = {{x - side, y0}, {x + side, y0}, {x - side, y1}, {x + side, y1}};
        map.add(last);
    }
    const double maxX = (kQuads / kPerPass) * kSpacing;
    const FieldInPlane field =
        fieldInPlane({ringRound(-400, -400, maxX + 400, kPerPass * kStep + 400, 3000)},
                     {ringRound(-100, -100, maxX + 100, kPerPass * kStep + 100, 3000)});

    const SectionLayout layout = *parseSectionLayout("", 64, 2400).layout;
    const SectionRules rules{1.0, 0.5, 1.0, 5.0, true};
    SectionScene scene;
    scene.left = last.newerLeft;
    scene.right = last.newerRight;
    const double dy = last.newerLeft.y - last.olderLeft.y;
    scene.travel = {0.0, dy > 0 ? 1.0 : -1.0};
    scene.speed = kSpeed;
    scene.horizon = 5.0;
    scene.coverage = &map;
    scene.ignoreFrom = map.size() - 2;
    scene.field = &field;

    std::vector<SectionDecision> out(64);
    decideSections(layout, rules, scene, out);
    int on = 0, changes = 0;
    for (const SectionDecision& d : out) {
        on += d.on ? 1 : 0;
        changes += d.changeAt != kNoChange ? 1 : 0;
    }
    std::fprintf(stderr, "bench_sections: %u quads, %d of 64 sections on, %d change ahead\n",
                 map.size(), on, changes);
    const double withField = meanMicroseconds(layout, rules, scene, 20000);
    scene.field = nullptr;
    const double without = meanMicroseconds(layout, rules, scene, 20000);
    std::printf("sections_fix_us: %.2f\n", withField);
    std::printf("sections_fix_nofield_us: %.2f\n", without);
    return 0;
}
