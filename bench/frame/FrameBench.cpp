// Times one work-screen frame drawn by our rasterizer and by cairo; prints the medians.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "bench/frame/CairoScene.h"
#include "bench/frame/FrameScene.h"

namespace {

template <class Draw>
double medianMicroseconds(int frames, Draw draw) {
    std::vector<double> times;
    for (int i = 0; i < frames; ++i) {
        auto start = std::chrono::steady_clock::now();
        draw();
        auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::nth_element(times.begin(), times.begin() + frames / 2, times.end());
    return times[std::size_t(frames / 2)];
}

}  // namespace

int main() {
    constexpr int kFrames = 300;
    bench::Scene scene = bench::makeScene();
    std::unique_ptr<gfx::Surface> screen(gfx::CreateSurface(bench::kWidth, bench::kHeight));
    gfx::Rasterizer ours(screen.get());
    bench::CairoScene theirs(scene);
    // One frame each to warm caches and tables.
    bench::drawOurs(ours, scene);
    theirs.draw();
    double oursUs = medianMicroseconds(kFrames, [&] { bench::drawOurs(ours, scene); });
    double cairoUs = medianMicroseconds(kFrames, [&] { theirs.draw(); });
    std::printf("frame_quads: %zu\n", scene.quads.size());
    std::printf("frame_us_ours: %.1f\n", oursUs);
    std::printf("frame_us_cairo: %.1f\n", cairoUs);
    std::printf("frame_ratio_vs_cairo: %.3f\n", oursUs / cairoUs);
    return 0;
}
