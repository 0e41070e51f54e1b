#include <gtest/gtest.h>

#include "tests/gfx/TestSupport.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

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

namespace {
// Binary PPM with each 5- or 6-bit channel widened by repeating its top bits: deterministic,
// lossless for RGB565 and readable by any image tool.
std::string toPpm(const gfx::Surface& surface) {
    std::ostringstream out;
    out << "P6\n" << surface.width() << " " << surface.height() << "\n255\n";
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x) {
            gfx::Pixel p = surface.pixel(x, y);
            int r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
            out << char((r << 3) | (r >> 2)) << char((g << 2) | (g >> 4))
                << char((b << 3) | (b >> 2));
        }
    return out.str();
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}
}  // namespace

::testing::AssertionResult matchesGolden(const gfx::Surface& surface, const std::string& name) {
    std::filesystem::path golden =
        std::filesystem::path(SULCO_SOURCE_DIR) / "tests/gfx/golden" / (name + ".ppm");
    std::filesystem::path outDir = std::filesystem::path(SULCO_BINARY_DIR) / "gfx-golden";
    std::string actual = toPpm(surface);
    std::ifstream in(golden, std::ios::binary);
    if (!in) {
        writeFile(outDir / (name + ".ppm"), actual);
        return ::testing::AssertionFailure()
               << "no golden image " << golden << "; the actual one is in " << outDir
               << ": review it and copy it there";
    }
    std::string expected((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (expected == actual) return ::testing::AssertionSuccess();
    writeFile(outDir / (name + ".actual.ppm"), actual);
    std::string diff = actual;
    std::size_t header = actual.size() - std::size_t(surface.width()) * surface.height() * 3;
    std::size_t differing = 0;
    for (std::size_t i = header; i + 2 < diff.size(); i += 3) {
        bool same = expected.size() == actual.size() && expected.compare(i, 3, actual, i, 3) == 0;
        differing += !same;
        diff[i] = same ? char(0) : char(255);
        diff[i + 1] = same ? char(std::uint8_t(actual[i + 1]) / 4) : char(0);
        diff[i + 2] = 0;
    }
    writeFile(outDir / (name + ".diff.ppm"), diff);
    return ::testing::AssertionFailure()
           << name << ": " << differing << " pixels differ; actual and diff images in " << outDir;
}

}  // namespace gfxtest
