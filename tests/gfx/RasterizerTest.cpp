#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "gfx/BlendPixels.h"
#include "gfx/CopyShader.h"
#include "gfx/Rasterizer.h"
#include "tests/gfx/TestSupport.h"

namespace {

using gfx::Point;
using Points = std::vector<Point>;
constexpr gfx::Pixel kInk = 0xFFFF;

struct Canvas {
    explicit Canvas(int w = 16, int h = 16)
        : surface(gfxtest::filledSurface(w, h, 0)), r(surface.get()) {}
    Points ink() const { return gfxtest::inkOf(*surface, 0); }
    std::unique_ptr<gfx::Surface> surface;
    gfx::Rasterizer r;
};

Points rectPoints(int left, int top, int right, int bottom) {
    Points p;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) p.push_back({x, y});
    return p;
}

TEST(DrawLine, EndPointRules) {
    struct Case {
        int x1, y1, x2, y2;
        Points expected;
    } cases[] = {
        {5, 0, 5, 10, rectPoints(5, 0, 6, 10)},  // lower end left out
        {5, 10, 5, 0, rectPoints(5, 0, 6, 10)},
        {0, 0, 10, 0, rectPoints(0, 0, 10, 1)},  // right end left out
        {3, 3, 3, 3, {}},
        {0, 0, 3, 1, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},  // both ends in
        {3, 1, 0, 0, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
        {0, 0, 4, 4, {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}},
        {0, 0, 1, 4, {{0, 0}, {0, 1}, {0, 2}, {1, 3}, {1, 4}}},  // the tie keeps x
    };
    for (const Case& c : cases) {
        Canvas canvas;
        canvas.r.DrawLine(c.x1, c.y1, c.x2, c.y2, kInk);
        EXPECT_EQ(canvas.ink(), c.expected) << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
    }
}

TEST(DrawLine, ClippedDiagonalEndsOnTheClipEdge) {
    Canvas canvas(10, 10);
    canvas.r.DrawLine(-100, -100, 4, 4, kInk);
    EXPECT_EQ(canvas.ink(), (Points{{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}));

    Canvas far(10, 10);
    far.r.DrawLine(-2000000000, 5, 2000000000, 6, kInk);  // no overflow in the clipping
    EXPECT_EQ(far.ink().size(), 10u);

    Canvas outside(10, 10);
    outside.r.DrawLine(-5, -1, 20, -3, kInk);  // both ends above
    outside.r.DrawLine(11, 0, 30, 9, kInk);    // both ends right
    EXPECT_TRUE(outside.ink().empty());
}

TEST(Blending, BlendPixelsFormula) {
    EXPECT_EQ(gfx::BlendPixels(0xFFFF, 0x0000, 128), 0x7BEF);  // 16/32 red/blue, 32/64 green
    EXPECT_EQ(gfx::BlendPixels(0x0000, 0xFFFF, 128), 0x7BEF);
    EXPECT_EQ(gfx::BlendPixels(0xF800, 0x001F, 0), 0x001F);
    EXPECT_EQ(gfx::BlendPixels(0xF800, 0x001F, 255), 0xF000);  // weights 31/32 and 63/64
}

TEST(Blending, OpaqueFromTwoFiftyTwoHalfwayAtOneTwentyEight) {
    struct Case {
        std::uint32_t alpha;
        gfx::Pixel expected;
    } cases[] = {
        {252, 0xFFFF}, {255, 0xFFFF}, {251, gfx::BlendPixels(0xFFFF, 0x0000, 251)}, {128, 0x7BEF}};
    for (const Case& c : cases) {
        Canvas canvas(4, 1);
        canvas.r.SetBlending(c.alpha);
        canvas.r.FillRect(0, 0, 1, 1, 0xFFFF);
        canvas.r.SetPixel(1, 0, 0xFFFF);
        canvas.r.DrawHLine(2, 0, 1, 0xFFFF);
        canvas.r.ResetBlending();
        canvas.r.SetPixel(3, 0, 0xFFFF);
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(canvas.surface->pixel(x, 0), c.expected) << c.alpha << " at " << x;
        EXPECT_EQ(canvas.surface->pixel(3, 0), 0xFFFF);
    }
}

TEST(Blit, KeyedSourceLeavesDestinationUnderKeyPixels) {
    Canvas canvas(2, 2);
    canvas.r.Clear(0x1234);
    std::unique_ptr<gfx::Surface> src(gfxtest::filledSurface(2, 2, 0));
    src->row(0)[1] = 0xF800;
    src->colourKey = 0;
    canvas.r.Blit(0, 0, src.get());
    EXPECT_EQ(canvas.surface->pixel(0, 0), 0x1234);
    EXPECT_EQ(canvas.surface->pixel(1, 0), 0xF800);
    EXPECT_EQ(canvas.surface->pixel(1, 1), 0x1234);
}

TEST(Blit, AtMinusTenCopiesTheBottomRightQuarter) {
    Canvas canvas(20, 20);
    std::unique_ptr<gfx::Surface> src(gfx::CreateSurface(20, 20));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) src->row(y)[x] = gfx::Pixel(1 + x + 20 * y);
    canvas.r.Blit(-10, -10, src.get());
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            EXPECT_EQ(canvas.surface->pixel(x, y),
                      x < 10 && y < 10 ? gfx::Pixel(1 + (x + 10) + 20 * (y + 10)) : 0);
}

TEST(Blit, SourceRectBeyondTheSourceIsCutToIt) {
    Canvas canvas(8, 8);
    std::unique_ptr<gfx::Surface> src(gfxtest::filledSurface(2, 2, 0x0F0F));
    gfx::Rect wide{-3, -3, 50, 50};
    canvas.r.Blit(0, 0, src.get(), &wide);
    EXPECT_EQ(canvas.ink(), rectPoints(3, 3, 5, 5));
}

TEST(BlitRotated, AngleZeroIsUprightAndUnscaled) {
    Canvas canvas(20, 20);
    std::unique_ptr<gfx::Surface> src(gfx::CreateSurface(4, 6));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 4; ++x) src->row(y)[x] = gfx::Pixel(1 + x + 4 * y);
    canvas.r.BlitRotated(10, 12, 0.0f, src.get());
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            bool inside = y >= 6 && y < 12 && x >= 8 && x < 12;
            EXPECT_EQ(canvas.surface->pixel(x, y),
                      inside ? gfx::Pixel(1 + (x - 8) + 4 * (y - 6)) : 0)
                << x << "," << y;
        }
}

TEST(BlitRotated, QuarterTurnIsClockwise) {
    Canvas canvas(20, 20);
    std::unique_ptr<gfx::Surface> src(gfxtest::filledSurface(2, 6, 0x07E0));
    src->row(0)[0] = src->row(0)[1] = 0xF800;  // the top row, farthest from the pivot
    canvas.r.BlitRotated(10, 10, 1.5707964f, src.get());
    // A point straight above the pivot lands to its right.
    EXPECT_EQ(canvas.surface->pixel(15, 10), 0xF800);
    EXPECT_EQ(canvas.surface->pixel(4, 10), 0);
}

TEST(BlitStretch, DoublesAndSkipsEmptyDestinations) {
    Canvas canvas(4, 4);
    std::unique_ptr<gfx::Surface> src(gfx::CreateSurface(2, 2));
    src->row(0)[0] = 1, src->row(0)[1] = 2, src->row(1)[0] = 3, src->row(1)[1] = 4;
    canvas.r.BlitStretch({0, 0, 4, 4}, src.get());
    const gfx::Pixel expected[4][4] = {{1, 1, 2, 2}, {1, 1, 2, 2}, {3, 3, 4, 4}, {3, 3, 4, 4}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(canvas.surface->pixel(x, y), expected[y][x]);
    Canvas empty(4, 4);
    empty.r.BlitStretch({2, 2, 2, 4}, src.get());
    empty.r.BlitStretch({2, 2, 4, 2}, src.get());
    empty.r.BlitStretch({3, 3, 1, 1}, src.get());
    EXPECT_TRUE(empty.ink().empty());
}

TEST(FillPolygon, SquareAndDegenerateOutlines) {
    Canvas canvas(16, 16);
    Point square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_TRUE(canvas.r.FillPolygon({4, square}, kInk));
    EXPECT_EQ(canvas.ink(), rectPoints(0, 0, 10, 10));

    Canvas two(16, 16);
    EXPECT_TRUE(two.r.FillPolygon({2, square}, kInk));
    EXPECT_TRUE(two.ink().empty());

    Canvas shifted(16, 16);
    EXPECT_TRUE(shifted.r.FillPolygon({4, square}, kInk, 3, 4));
    EXPECT_EQ(shifted.ink(), rectPoints(3, 4, 13, 14));
}

TEST(FillPolygon, StartingFarAboveTheSurfaceMatchesADirectFill) {
    // The rows above the surface are skipped in one go; the edges must land where row by row
    // stepping would have brought them.
    Point tall[] = {{-7, -100000}, {13, 12}, {1, 15}};
    Canvas canvas(16, 16);
    canvas.r.FillPolygon({3, tall}, kInk);
    Canvas reference(16, 100016);
    reference.r.FillPolygon({3, tall}, kInk, 0, 100000);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(canvas.surface->pixel(x, y), reference.surface->pixel(x, y + 100000));
}

TEST(FillConvex, SpansLeaveOutTheRightColumnAndTheBottomRow) {
    Canvas canvas(16, 16);
    Point square[] = {{2, 2}, {6, 2}, {6, 6}, {2, 6}};
    canvas.r.FillConvex(square, 4, kInk);
    EXPECT_EQ(canvas.ink(), rectPoints(2, 3, 6, 6));
    Canvas one(4, 4);
    one.r.FillConvex(square, 1, kInk);
    EXPECT_EQ(one.ink(), (Points{{2, 2}}));
}

TEST(DrawThickLine, IsFiveWide) {
    Canvas canvas(20, 20);
    canvas.r.DrawThickLine(2, 10, 17, 10, kInk);
    EXPECT_EQ(canvas.ink(), rectPoints(2, 8, 17, 13));
    Canvas dot(4, 4);
    dot.r.DrawThickLine(1, 1, 1, 1, kInk);
    EXPECT_TRUE(dot.ink().empty());
}

TEST(FillPolygonPattern, TilesFromTheSurfaceOrigin) {
    Canvas canvas(8, 4);
    std::unique_ptr<gfx::Surface> pattern(gfx::CreateSurface(3, 2));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) pattern->row(y)[x] = gfx::Pixel(1 + x + 3 * y);
    Point quad[] = {{1, 0}, {8, 0}, {8, 4}, {1, 4}};
    canvas.r.FillPolygonPattern(quad, 4, pattern.get());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(canvas.surface->pixel(x, y), x < 1 ? 0 : gfx::Pixel(1 + x % 3 + 3 * (y % 2)))
                << x << "," << y;
}

}  // namespace

namespace {

// The rotated blit visits only the turned picture's bounding box; the pixels must be those of
// visiting its whole square of half-side 2r.
TEST(BlitRotated, BoundingBoxDrawsWhatTheWholeSquareDraws) {
    std::unique_ptr<gfx::Surface> src(gfx::CreateSurface(13, 22));
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 13; ++x) src->row(y)[x] = gfx::Pixel(1 + x + 13 * y);
    for (int i = 0; i < 200; ++i) {
        float angle = -6.3f + 0.063f * float(i);
        Canvas fast(64, 64), full(64, 64);
        fast.r.BlitRotated(31, 33, angle, src.get());
        int C = int(float(std::cos(double(angle))) * 1024.0f);
        int S = int(float(std::sin(double(angle))) * 1024.0f);
        gfx::Transform t{C,
                         -S,
                         S,
                         C,
                         int((std::uint32_t(13 << 9) - std::uint32_t(C * 31 + S * 33)) << 6),
                         int((std::uint32_t(S * 31 - C * 33) + std::uint32_t(22 << 10)) << 6)};
        gfx::CopyShader::shared().BlitTransformed(*full.surface->buffer, {0, 0, 64, 64}, t,
                                                  *src->buffer);
        ASSERT_EQ(fast.ink(), full.ink()) << angle;
        for (const Point& p : full.ink())
            ASSERT_EQ(fast.surface->pixel(p.x, p.y), full.surface->pixel(p.x, p.y)) << angle;
    }
}

}  // namespace
