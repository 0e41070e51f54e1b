#include <gtest/gtest.h>

#include "tests/gfx/TestSupport.h"

#include "tests/support/GoldenImage.h"

namespace gfxtest {

gfx::Surface* filledSurface(int width, int height, gfx::Pixel colour) {
    gfx::Surface* surface = gfx::CreateSurface(width, height);
    gfx::Rasterizer(surface).Clear(colour);
    return surface;
}

std::vector<gfx::Point> inkOf(const gfx::Surface& surface, gfx::Pixel background) {
    std::vector<gfx::Point> ink;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            if (surface.pixel(x, y) != background) ink.push_back({x, y});
    return ink;
}

const gfx::Font& testFont() {
    static gfx::Font font = [] {
        gfx::Font f;
        for (int c = 33; c < 256; ++c)
            for (int r = 0; r < 10; ++r)
                f.glyphs[c * 16 + r] = std::uint8_t(((c * 37 + r * 11) & 0x7E) | 0x81);
        const std::uint8_t a[16] = {0x18, 0x3C, 0x66, 0xC3, 0xC3, 0xFF, 0xC3, 0xC3,
                                    0xC3, 0xC3, 0,    0,    0,    0,    0,    0};
        const std::uint8_t g[16] = {0,    0,    0,    0x3E, 0x66, 0x66, 0x66, 0x66,
                                    0x3E, 0x06, 0x06, 0x7C, 0,    0,    0,    0};
        std::copy(a, a + 16, f.glyphs + 0x41 * 16);
        std::copy(g, g + 16, f.glyphs + 0x67 * 16);
        return f;
    }();
    return font;
}

::testing::AssertionResult matchesGolden(const gfx::Surface& surface, const std::string& name) {
    return testsupport::matchesGolden(surface, "tests/gfx/golden/" + name + ".ppm");
}

}  // namespace gfxtest
