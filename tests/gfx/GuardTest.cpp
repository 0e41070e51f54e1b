// Thousands of random primitives with coordinates far outside the surface: no write may land
// outside it. The surface lies inside a larger allocation whose guard rows above and below and
// guard columns to the right of every row must keep their pattern.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "gfx/Rasterizer.h"
#include "tests/gfx/TestSupport.h"

namespace {

constexpr gfx::Pixel kGuard = 0xA5C3;

struct Guarded {
    static constexpr int kGuardRows = 4, kGuardColumns = 6;
    Guarded(int width, int height)
        : width(width),
          height(height),
          stride(width + kGuardColumns),
          memory(std::size_t(stride) * (height + 2 * kGuardRows), kGuard),
          view(std::uint32_t(width), std::uint32_t(height), std::uint32_t(stride * 2),
               memory.data() + stride * kGuardRows, false),
          surface(&view) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) view.row(y)[x] = 0;
    }
    ~Guarded() { surface.buffer = nullptr; }

    // Counts guard pixels that changed.
    int damaged() const {
        int count = 0;
        for (int y = -kGuardRows; y < height + kGuardRows; ++y)
            for (int x = 0; x < stride; ++x) {
                bool inside = y >= 0 && y < height && x < width;
                if (!inside && memory[std::size_t((y + kGuardRows) * stride + x)] != kGuard)
                    ++count;
            }
        return count;
    }

    int width, height, stride;
    std::vector<gfx::Pixel> memory;
    gfx::PixelBuffer view;
    gfx::Surface surface;
};

class Random {
  public:
    explicit Random(unsigned seed) : engine_(seed) {}
    // Mostly near the surface, sometimes very far from it.
    int coordinate() {
        switch (pick(8)) {
            case 0:
                return range(-2000000000, 2000000000);
            case 1:
                return range(-100000, 100000);
            default:
                return range(-80, 120);
        }
    }
    int range(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(engine_); }
    int pick(int n) { return range(0, n - 1); }
    float angle() { return std::uniform_real_distribution<float>(-7.0f, 7.0f)(engine_); }

  private:
    std::mt19937 engine_;
};

void drawRandom(gfx::Rasterizer& r, Random& rnd, const gfx::Surface& picture,
                const gfx::Surface& keyed) {
    auto c = [&] { return rnd.coordinate(); };
    gfx::Pixel colour = gfx::Pixel(rnd.range(0, 0xFFFF));
    switch (rnd.pick(14)) {
        case 0:
            r.SetPixel(c(), c(), colour);
            break;
        case 1:
            r.DrawHLine(c(), c(), c(), colour);
            break;
        case 2:
            r.DrawVLine(c(), c(), c(), colour);
            break;
        case 3:
            r.FillRect(c(), c(), c(), c(), colour);
            break;
        case 4:
            r.DrawLine(c(), c(), c(), c(), colour);
            break;
        case 5:
            r.DrawThickLine(c(), c(), c(), c(), colour);
            break;
        case 6:
        case 7: {
            gfx::Point points[7];
            int count = rnd.range(1, 7);
            for (int i = 0; i < count; ++i) points[i] = {c(), c()};
            if (rnd.pick(2))
                r.FillConvex(points, count, colour);
            else
                r.FillPolygon({count, points}, colour, rnd.range(-50, 50), rnd.range(-50, 50));
            break;
        }
        case 8: {
            gfx::Point points[6];
            int count = rnd.range(2, 6);
            for (int i = 0; i < count; ++i)
                points[i] = {rnd.range(-3000, 3000), rnd.range(-3000, 3000)};
            r.FillPolygonPattern(points, count, &picture);
            break;
        }
        case 9: {
            gfx::Rect part{rnd.range(-20, 30), rnd.range(-20, 30), rnd.range(-20, 30),
                           rnd.range(-20, 30)};
            r.Blit(c(), c(), rnd.pick(2) ? &picture : &keyed, rnd.pick(2) ? &part : nullptr);
            break;
        }
        case 10: {
            gfx::Rect to{c(), c(), c(), c()};
            gfx::Rect part{rnd.range(-20, 30), rnd.range(-20, 30), rnd.range(-20, 30),
                           rnd.range(-20, 30)};
            r.BlitStretch(to, &keyed, rnd.pick(2) ? &part : nullptr);
            break;
        }
        case 11:
            r.BlitRotated(c(), c(), rnd.angle(), rnd.pick(2) ? &picture : &keyed);
            break;
        case 12:
            r.DrawString(&gfxtest::testFont(), "Agx Agx Agx Agx", rnd.pick(5), c(), c(), colour,
                         rnd.range(0, 20));
            break;
        default:
            r.DrawWrappedString(&gfxtest::testFont(),
                                "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAA gg gg gggggggg g gggggggggggg",
                                rnd.pick(5), c(), c(), colour);
            break;
    }
    if (rnd.pick(10) == 0) r.SetBlending(std::uint32_t(rnd.range(0, 300)));
    if (rnd.pick(10) == 0) r.ResetBlending();
}

TEST(Guard, RandomPrimitivesNeverWriteOutsideTheSurface) {
    std::unique_ptr<gfx::Surface> picture(gfxtest::filledSurface(13, 9, 0x1234));
    std::unique_ptr<gfx::Surface> keyed(gfxtest::filledSurface(8, 21, 0xF81F));
    keyed->row(3)[3] = 0x0F0F;
    keyed->colourKey = 0xF81F;
    const int sizes[][2] = {{1, 1}, {1, 9}, {7, 1}, {17, 13}, {40, 33}};
    for (const auto& size : sizes) {
        Guarded target(size[0], size[1]);
        gfx::Rasterizer r(&target.surface);
        Random rnd(unsigned(size[0] * 1000 + size[1]));
        for (int i = 0; i < 4000; ++i) {
            if (i % 500 == 0)  // a narrower clip now and then
                r.SetClip(
                    {rnd.range(-5, 20), rnd.range(-5, 20), rnd.range(-5, 40), rnd.range(-5, 40)});
            drawRandom(r, rnd, *picture, *keyed);
            ASSERT_EQ(target.damaged(), 0) << size[0] << "x" << size[1] << " primitive " << i;
        }
    }
}

}  // namespace
