#include <gtest/gtest.h>

#include <memory>

#include "gfx/Pixel.h"
#include "gfx/Rasterizer.h"
#include "gfx/Surface.h"
#include "tests/gfx/TestSupport.h"

namespace {

TEST(Pixel, ColourValuesKeepTheTopBitsOfEachChannel) {
    struct Case {
        std::uint32_t colorRef;
        gfx::Pixel pixel;
    } cases[] = {
        {0x0000FF, 0xF800},  // red in the low byte
        {0x00FF00, 0x07E0}, {0xFF0000, 0x001F},
        {0xFFFFFF, 0xFFFF}, {0x070307, 0x0000},  // below every channel's resolution: no rounding up
        {0x08040F, 0x0821}, {0x123456, 0x51A2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(gfx::pixelFromColorRef(c.colorRef), c.pixel) << std::hex << c.colorRef;
}

TEST(PixelBuffer, RowsStartOnFourByteBoundaries) {
    EXPECT_EQ(gfx::PixelBuffer::pitchFor(240), 480u);
    EXPECT_EQ(gfx::PixelBuffer::pitchFor(241), 484u);
    EXPECT_EQ(gfx::PixelBuffer::pitchFor(1), 4u);
}

TEST(Surface, WidthOneSurfaceClearsEveryRow) {
    std::unique_ptr<gfx::Surface> s(gfx::CreateSurface(1, 7));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->pitch(), 4u);
    EXPECT_EQ(s->colourKey, -1);
    gfx::Rasterizer r(s.get());
    r.Clear(0x1234);
    for (int y = 0; y < 7; ++y) EXPECT_EQ(s->pixel(0, y), 0x1234) << y;
    r.Clear(0x4242);  // the byte-fill path
    for (int y = 0; y < 7; ++y) EXPECT_EQ(s->pixel(0, y), 0x4242) << y;
}

TEST(Surface, CloneOfAnUnkeyedSurfaceIsIdentical) {
    std::unique_ptr<gfx::Surface> s(gfx::CreateSurface(5, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) s->row(y)[x] = gfx::Pixel(x * 100 + y);
    std::unique_ptr<gfx::Surface> c(gfx::CloneSurface(s.get()));
    ASSERT_TRUE(c);
    EXPECT_EQ(c->width(), 5);
    EXPECT_EQ(c->height(), 3);
    EXPECT_EQ(c->colourKey, -1);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(c->pixel(x, y), s->pixel(x, y));
}

TEST(Surface, CloneHonoursTheSourceKeyAndHasNone) {
    std::unique_ptr<gfx::Surface> s(gfxtest::filledSurface(2, 1, 0xF81F));
    s->row(0)[1] = 0x1111;
    s->colourKey = 0xF81F;
    std::unique_ptr<gfx::Surface> c(gfx::CloneSurface(s.get()));
    EXPECT_EQ(c->colourKey, -1);
    EXPECT_EQ(c->pixel(1, 0), 0x1111);
}

TEST(Surface, ImpossibleSizesGiveNull) {
    EXPECT_EQ(gfx::CreateSurface(-1, 5), nullptr);
    EXPECT_EQ(gfx::CloneSurface(nullptr), nullptr);
    // Sizes whose pitch wraps to a few bytes, or whose bytes outgrow the offsets that reach
    // them: refused before anything is allocated or cleared.
    EXPECT_EQ(gfx::CreateSurface(0x7FFFFFFF, 1), nullptr);
    EXPECT_EQ(gfx::CreateSurface(0x7FFFFFFE, 2), nullptr);
    EXPECT_EQ(gfx::CreateSurface(1 << 30, 1), nullptr);
    EXPECT_EQ(gfx::CreateSurface(46341, 46341), nullptr);
    EXPECT_EQ(gfx::CreateSurface(1, 0x7FFFFFFF), nullptr);
    std::unique_ptr<gfx::Surface> wide(gfx::CreateSurface(1 << 20, 2));
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide->buffer->pitch, 2u << 20);
    gfx::DestroySurface(nullptr);
}

}  // namespace
