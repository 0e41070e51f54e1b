// Every primitive and one composed scene against reviewed reference images.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "gfx/Rasterizer.h"
#include "tests/gfx/TestSupport.h"
#include "tests/support/GoldenImage.h"

namespace {

using gfx::Point;

constexpr gfx::Pixel kBackground = 0x2945;

// A 12 x 16 picture: a frame of one colour round a gradient, with key-coloured corners.
std::unique_ptr<gfx::Surface> picture() {
    std::unique_ptr<gfx::Surface> s(gfx::CreateSurface(12, 16));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 12; ++x) {
            bool edge = x == 0 || y == 0 || x == 11 || y == 15;
            s->row(y)[x] = edge ? 0xFFE0 : gfx::Pixel(((x * 2) << 11) | ((y * 4) << 5) | 8);
        }
    s->row(0)[0] = s->row(0)[11] = s->row(15)[0] = s->row(15)[11] = 0xF81F;
    return s;
}

struct GoldenCase {
    const char* name;
    int width, height;
    std::function<void(gfx::Rasterizer&)> draw;
};

const GoldenCase kCases[] = {
    {"lines", 48, 48,
     [](gfx::Rasterizer& r) {
         for (int i = 0; i < 24; ++i) {
             double a = i * 3.14159265358979 / 12;
             r.DrawLine(24, 24, 24 + int(30 * std::cos(a)), 24 + int(30 * std::sin(a)),
                        gfx::Pixel(0xF800 | (i * 2) << 5));
         }
     }},
    {"thick_lines", 48, 48,
     [](gfx::Rasterizer& r) {
         r.DrawThickLine(4, 4, 44, 10, 0xF800);
         r.DrawThickLine(4, 44, 30, 14, 0x07E0);
         r.DrawThickLine(40, 20, 40, 46, 0x001F);
         r.DrawThickLine(-20, 30, 70, 36, 0xFFFF);
     }},
    {"convex", 48, 48,
     [](gfx::Rasterizer& r) {
         Point quad[] = {{5, 3}, {30, 8}, {26, 30}, {2, 22}};
         r.FillConvex(quad, 4, 0x07FF);
         Point tri[] = {{40, 20}, {47, 46}, {20, 44}};
         r.FillConvex(tri, 3, 0xF81F);
     }},
    {"polygon", 48, 48,
     [](gfx::Rasterizer& r) {
         Point star[5];
         for (int i = 0; i < 5; ++i) {
             double a = -1.5707963 + i * 2.5132741;  // every second corner
             star[i] = {24 + int(22 * std::cos(a)), 25 + int(22 * std::sin(a))};
         }
         r.FillPolygon({5, star}, 0xFFE0);  // even-odd: the centre stays empty
     }},
    {"pattern", 48, 48,
     [](gfx::Rasterizer& r) {
         auto tile = picture();
         Point quad[] = {{6, 2}, {44, 10}, {40, 44}, {3, 36}};
         r.FillPolygonPattern(quad, 4, tile.get());
     }},
    {"blits", 48, 48,
     [](gfx::Rasterizer& r) {
         auto p = picture();
         r.Blit(2, 2, p.get());
         p->colourKey = 0xF81F;
         r.Blit(16, 2, p.get());
         gfx::Rect part{2, 2, 10, 10};
         r.Blit(30, 2, p.get(), &part);
         r.BlitStretch({2, 20, 26, 46}, p.get());
         r.Blit(40, 40, p.get());  // cut by the surface edge
     }},
    {"rotated", 64, 48,
     [](gfx::Rasterizer& r) {
         auto p = picture();
         p->colourKey = 0xF81F;
         r.BlitRotated(12, 40, 0.0f, p.get());
         r.BlitRotated(32, 40, 0.3f, p.get());
         r.BlitRotated(52, 30, -2.0f, p.get());
     }},
    {"blending", 48, 24,
     [](gfx::Rasterizer& r) {
         r.FillRect(0, 0, 24, 24, 0xFFFF);
         const std::uint32_t alphas[] = {32, 64, 128, 192, 250, 252};
         for (int i = 0; i < 6; ++i) {
             r.SetBlending(alphas[i]);
             r.FillRect(i * 8, 4, i * 8 + 8, 20, 0xF800);
         }
         r.ResetBlending();
     }},
    {"text", 120, 64,
     [](gfx::Rasterizer& r) {
         const gfx::Font* f = &gfxtest::testFont();
         r.DrawString(f, "Ag", gfx::kAlignAtX, 3, 2, 0xFFFF);
         r.DrawString(f, "Ag!", gfx::kAlignCentre, 0, 2, 0xFFE0);
         r.DrawString(f, "gA", gfx::kAlignRight, 0, 2, 0x07FF);
         r.DrawWrappedString(f, "AAAA gggg AAAA gggg AAAA gggg", gfx::kAlignLeft, 0, 20, 0xF800);
         r.SetBlending(128);
         r.DrawString(f, "AAA", gfx::kAlignAtX, 80, 52, 0xFFFF);
         r.ResetBlending();
     }},
    {"scene", 120, 160,
     [](gfx::Rasterizer& r) {
         auto tile = picture();
         Point screen[] = {{0, 0}, {120, 0}, {120, 160}, {0, 160}};
         r.FillPolygonPattern(screen, 4, tile.get());
         for (int i = 0; i < 12; ++i) {
             Point quad[] = {{10 + i * 8, 150 - i * 10},
                             {26 + i * 8, 150 - i * 10},
                             {30 + i * 8, 140 - i * 10},
                             {14 + i * 8, 140 - i * 10}};
             r.FillConvex(quad, 4, 0x8410);
             r.DrawLine(quad[0].x, quad[0].y, quad[3].x, quad[3].y, 0);
             r.DrawLine(quad[1].x, quad[1].y, quad[2].x, quad[2].y, 0);
         }
         r.DrawThickLine(-50, 40, 200, 100, 0xF800);
         r.SetBlending(128);
         r.FillRect(0, 0, 120, 20, 0);
         r.ResetBlending();
         r.DrawString(&gfxtest::testFont(), "gAg", gfx::kAlignCentre, 0, 2, 0xFFFF);
         auto vehicle = picture();
         vehicle->colourKey = 0xF81F;
         r.BlitRotated(60, 110, 0.5f, vehicle.get());
     }},
};

void PrintTo(const GoldenCase& c, std::ostream* os) {
    *os << c.name;
}

class Golden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(Golden, MatchesItsReferenceImage) {
    const GoldenCase& c = GetParam();
    std::unique_ptr<gfx::Surface> s(gfxtest::filledSurface(c.width, c.height, kBackground));
    gfx::Rasterizer r(s.get());
    c.draw(r);
    EXPECT_TRUE(gfxtest::matchesGolden(*s, c.name));
}

INSTANTIATE_TEST_SUITE_P(Primitives, Golden, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

namespace {

// The comparer itself, on a reference read back by hand: a surface made from the reference's
// own bytes matches it, and one blue step off in one pixel fails, naming that one pixel and
// leaving the actual and difference pictures in the build folder.
TEST(GoldenComparer, MatchesItsReferenceExactlyAndReportsOnePixelOff) {
    const std::string reference = "tests/gfx/golden/blits.ppm";
    std::ifstream in(std::string(SULCO_SOURCE_DIR) + "/" + reference, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maximum = 0;
    in >> magic >> width >> height >> maximum;
    in.get();  // the one whitespace byte before the pixels
    ASSERT_EQ(magic, "P6");
    ASSERT_EQ(maximum, 255);
    ASSERT_GT(width * height, 0);
    std::unique_ptr<gfx::Surface> s(gfx::CreateSurface(width, height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char rgb[3];
            ASSERT_TRUE(in.read(reinterpret_cast<char*>(rgb), 3));
            // Each channel was widened by repeating its top bits: its top bits are the pixel's.
            s->row(y)[x] = gfx::Pixel(((rgb[0] >> 3) << 11) | ((rgb[1] >> 2) << 5) | (rgb[2] >> 3));
        }
    EXPECT_TRUE(testsupport::matchesGolden(*s, reference));

    const std::filesystem::path out = std::filesystem::path(SULCO_BINARY_DIR) / "golden-diffs/gfx";
    std::filesystem::remove(out / "blits.actual.ppm");
    std::filesystem::remove(out / "blits.diff.png");
    s->row(height / 2)[width / 2] ^= 1;
    const ::testing::AssertionResult result = testsupport::matchesGolden(*s, reference);
    ASSERT_FALSE(result);
    EXPECT_NE(std::string(result.message()).find("blits: 1 pixels differ"), std::string::npos)
        << result.message();
    EXPECT_NE(std::string(result.message()).find((out / "blits.diff.png").string()),
              std::string::npos)
        << result.message();
    EXPECT_TRUE(std::filesystem::exists(out / "blits.actual.ppm"));
    EXPECT_TRUE(std::filesystem::exists(out / "blits.diff.png"));
}

}  // namespace
