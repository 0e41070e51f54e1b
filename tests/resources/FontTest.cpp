// The two screen fonts: 256 glyphs of 16 rows, ink at the top of the cell, and each in the
// order of its code page, so the texts' bytes pick the right letters.
#include <gtest/gtest.h>

#include <cstdint>
#include <span>

#include "platform/Resources.h"

namespace {

using Glyph = std::span<const std::uint8_t, 16>;

Glyph glyph(std::span<const std::uint8_t> font, int code) {
    return Glyph(font.subspan(std::size_t(code) * 16, 16));
}

bool blank(Glyph g, int firstRow, int endRow) {
    for (int r = firstRow; r < endRow; ++r)
        if (g[std::size_t(r)] != 0) return false;
    return true;
}

bool same(Glyph a, Glyph b) {
    return std::equal(a.begin(), a.end(), b.begin());
}

TEST(ScreenFont, BothFontsAre256GlyphsWithSpaceAndNulBlank) {
    for (const char* id : {"155", "866"}) {
        auto font = platform::findResource("FONTS", id);
        ASSERT_EQ(font.size(), 4096u) << id;
        EXPECT_TRUE(blank(glyph(font, 0), 0, 16)) << id;
        EXPECT_TRUE(blank(glyph(font, ' '), 0, 16)) << id;
        for (int c = 33; c < 127; ++c) EXPECT_FALSE(blank(glyph(font, c), 0, 16)) << id << " " << c;
    }
}

TEST(ScreenFont, GlyphsSitAtTheTopOfTheCell) {
    auto font = platform::findResource("FONTS", "155");
    ASSERT_EQ(font.size(), 4096u);
    // Capitals fill rows 0 to 9.
    for (int c : {'A', 'E', 'H', 'M', 'Z'}) {
        EXPECT_NE(glyph(font, c)[0], 0) << char(c);
        EXPECT_NE(glyph(font, c)[9], 0) << char(c);
        EXPECT_TRUE(blank(glyph(font, c), 10, 16)) << char(c);
    }
    // Descenders end within rows 10 to 12; nothing reaches the bottom rows.
    for (int c : {'g', 'p', 'y'}) {
        EXPECT_FALSE(blank(glyph(font, c), 10, 13)) << char(c);
        EXPECT_TRUE(blank(glyph(font, c), 13, 16)) << char(c);
    }
    // Accented capitals keep their accent without pushing the letter below the baseline.
    for (int c : {0x8E, 0x90, 0x99, 0x9A, 0xA5}) {
        EXPECT_NE(glyph(font, c)[0], 0) << c;
        EXPECT_TRUE(blank(glyph(font, c), 10, 16)) << c;
    }
}

TEST(ScreenFont, AccentedLettersOfTheTextsArePresent) {
    auto font = platform::findResource("FONTS", "155");
    ASSERT_EQ(font.size(), 4096u);
    // u umlaut, a umlaut, e acute, n tilde, sharp s; each differs from its plain letter.
    const int accented[][2] = {{0x81, 'u'}, {0x84, 'a'}, {0x82, 'e'}, {0xA4, 'n'}, {0xE1, 'B'}};
    for (auto [code, plain] : accented) {
        EXPECT_FALSE(blank(glyph(font, code), 0, 16)) << code;
        EXPECT_FALSE(same(glyph(font, code), glyph(font, plain))) << code;
    }
}

TEST(ScreenFont, CyrillicFontFollowsItsCodePage) {
    auto latin = platform::findResource("FONTS", "155");
    auto cyrillic = platform::findResource("FONTS", "866");
    ASSERT_EQ(latin.size(), 4096u);
    ASSERT_EQ(cyrillic.size(), 4096u);
    // ASCII is shared; Cyrillic letters that look like Latin ones are drawn the same way.
    for (int c = 32; c < 127; ++c) EXPECT_TRUE(same(glyph(latin, c), glyph(cyrillic, c))) << c;
    const int lookalikes[][2] = {{0x80, 'A'}, {0x82, 'B'}, {0x8C, 'M'}, {0x8E, 'O'},
                                 {0xA0, 'a'}, {0xAE, 'o'}, {0xE0, 'p'}, {0xE1, 'c'}};
    for (auto [code, plain] : lookalikes)
        EXPECT_TRUE(same(glyph(cyrillic, code), glyph(latin, plain))) << code;
    // Letters of their own: Д (0x84), Ж (0x86), Я (0x9F), ё (0xF1).
    for (int code : {0x84, 0x86, 0x9F, 0xF1}) {
        EXPECT_FALSE(blank(glyph(cyrillic, code), 0, 16)) << code;
        EXPECT_FALSE(same(glyph(cyrillic, code), glyph(latin, code))) << code;
    }
}

}  // namespace
