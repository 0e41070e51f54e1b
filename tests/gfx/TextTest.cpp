#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "gfx/Rasterizer.h"
#include "tests/gfx/TestSupport.h"

namespace {

constexpr gfx::Pixel kInk = 0xFFFF;

// The leftmost inked column and the rows that carry ink.
struct Extent {
    int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
};

Extent extentOf(const gfx::Surface& s) {
    Extent e;
    for (const gfx::Point& p : gfxtest::inkOf(s, 0)) {
        e.left = std::min(e.left, p.x);
        e.right = std::max(e.right, p.x);
        e.top = std::min(e.top, p.y);
        e.bottom = std::max(e.bottom, p.y);
    }
    return e;
}

// "A" has ink in its leftmost column from row 3 on, so a line of them shows where it starts.
TEST(DrawString, Alignments) {
    struct Case {
        int alignment, x;
        int expectedLeft;
    } cases[] = {{gfx::kAlignAtX, 17, 17},
                 {gfx::kAlignLeft, 17, 0},
                 {gfx::kAlignCentre, 0, 75},
                 {gfx::kAlignRight, 0, 151},
                 {7, 17, 0}};
    for (const Case& c : cases) {
        std::unique_ptr<gfx::Surface> s(gfxtest::filledSurface(240, 20, 0));
        gfx::Rasterizer r(s.get());
        r.DrawString(&gfxtest::testFont(), "AAAAAAAAAA", c.alignment, c.x, 2, kInk);
        Extent e = extentOf(*s);
        EXPECT_EQ(e.left, c.expectedLeft) << "alignment " << c.alignment;
        EXPECT_EQ(e.right, c.expectedLeft + 9 * 9 + 7) << "alignment " << c.alignment;
    }
}

TEST(DrawString, OnlyInkBitsChangePixelsAndCountLimits) {
    std::unique_ptr<gfx::Surface> s(gfxtest::filledSurface(20, 16, 0x1111));
    gfx::Rasterizer r(s.get());
    r.DrawString(&gfxtest::testFont(), "AA", gfx::kAlignAtX, 0, 0, kInk, 1);
    // Row 0 of 'A' is 0x18: columns 3 and 4.
    for (int x = 0; x < 20; ++x) EXPECT_EQ(s->pixel(x, 0), x == 3 || x == 4 ? kInk : 0x1111) << x;
    EXPECT_EQ(s->pixel(12, 0), 0x1111);  // the second 'A' was not drawn
    r.DrawString(nullptr, "A", 0, 0, 0, 0);
    r.DrawString(&gfxtest::testFont(), "", 0, 0, 0, 0);
    r.DrawString(&gfxtest::testFont(), "A", 0, 0, 0, 0, 50);  // count beyond the text
}

TEST(DrawString, AtTheBottomEdgeOnlyTheTopRowsShow) {
    // Guard rows below the visible surface catch any write past its bottom.
    std::unique_ptr<gfx::Surface> big(gfxtest::filledSurface(20, 40, 0));
    gfx::PixelBuffer view(20, 20, big->pitch(), big->row(0), false);
    gfx::Surface s(&view);
    gfx::Rasterizer r(&s);
    r.DrawString(&gfxtest::testFont(), "AA", gfx::kAlignAtX, 0, 12, kInk);
    s.buffer = nullptr;
    Extent e = extentOf(*big);
    EXPECT_EQ(e.top, 12);
    EXPECT_EQ(e.bottom, 19);
}

TEST(DrawString, CentredTextWiderThanTheSurfaceStaysOnIt) {
    std::unique_ptr<gfx::Surface> s(gfxtest::filledSurface(30, 16, 0));
    gfx::Rasterizer r(s.get());
    r.DrawString(&gfxtest::testFont(), "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA",
                 gfx::kAlignCentre, 0, 0, kInk);
    Extent e = extentOf(*s);
    EXPECT_EQ(e.left, 0);
    EXPECT_EQ(e.right, 29);
}

// Rows of text drawn by DrawWrappedString, each as the characters found in its cells.
std::vector<int> linesInked(const gfx::Surface& s) {
    std::vector<int> lines;
    for (int line = 0; line * 16 < s.height(); ++line) {
        bool any = false;
        for (int y = line * 16; y < line * 16 + 16 && y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x) any |= s.pixel(x, y) != 0;
        if (any) lines.push_back(line);
    }
    return lines;
}

TEST(DrawWrappedString, BreakRule) {
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"AAAAA AAAAA AAAAA AAAAAA", {"AAAAA AAAAA AAAAA AAAAAA"}},  // 24: one line
        {"AAAAA AAAAA AAAAA AAAAA A", {"AAAAA AAAAA AAAAA AAAAA", " A"}},
        {"AAAA AAAA AAAA AAAA AAAA AAAA AAAA AAAA AAAA AAAA",
         {"AAAA AAAA AAAA AAAA", " AAAA AAAA AAAA AAAA", " AAAA AAAA"}},
        // A first word longer than a line gets a line of its own.
        {"AAAAAAAAAAAAAAAAAAAAAAAAAAAAAA AA AA", {"AAAAAAAAAAAAAAAAAAAAAAAAAAAAAA", " AA AA"}},
        // No space at all: drawn once, on one line.
        {"AAAAAAAAAAAAAAAAAAAAAAAAAAAAAA", {"AAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"}},
    };
    for (const Case& c : cases) {
        std::unique_ptr<gfx::Surface> wrapped(gfxtest::filledSurface(300, 80, 0));
        gfx::Rasterizer(wrapped.get())
            .DrawWrappedString(&gfxtest::testFont(), c.text.c_str(), gfx::kAlignAtX, 0, 0, kInk);
        std::unique_ptr<gfx::Surface> expected(gfxtest::filledSurface(300, 80, 0));
        gfx::Rasterizer e(expected.get());
        for (std::size_t i = 0; i < c.lines.size(); ++i)
            e.DrawString(&gfxtest::testFont(), c.lines[i].c_str(), gfx::kAlignAtX, 0, int(16 * i),
                         kInk);
        EXPECT_EQ(gfxtest::inkOf(*wrapped, 0), gfxtest::inkOf(*expected, 0)) << c.text;
        EXPECT_EQ(linesInked(*wrapped).size(), c.lines.size()) << c.text;
    }
}

}  // namespace
