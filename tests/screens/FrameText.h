// Reads back the texts drawn with the readable font of ScreenFixture.h: every row of glyph
// markers is one drawn line, and the row above it holds the character codes.
#pragma once

#include <string>
#include <vector>

#include "gfx/Pixel.h"

namespace screens_test {

struct DrawnLine {
    int x = 0;  // left edge of the first character
    int y = 0;  // top row of the glyphs
    std::string text;
};

// Anything with width, height and at(x, y), a frame of the headless platform or a surface.
template <typename Image>
std::vector<DrawnLine> drawnLines(const Image& image, gfx::Pixel ink) {
    std::vector<DrawnLine> lines;
    auto inked = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < image.width && y < image.height && image.at(x, y) == ink;
    };
    for (int y = 1; y < image.height; ++y) {
        int x = 0;
        while (x < image.width && !inked(x, y)) ++x;
        // A marker is eight inked pixels; a code row never is, as no text holds byte 0xFF.
        bool marker = x + 8 <= image.width;
        for (int i = 0; marker && i < 8; ++i) marker = inked(x + i, y);
        if (!marker) continue;
        DrawnLine line{x, y - 1, {}};
        for (int cell = x; inked(cell, y); cell += 9) {
            unsigned code = 0;
            for (int bit = 0; bit < 8; ++bit)
                code = (code << 1) | (inked(cell + bit, y - 1) ? 1u : 0u);
            line.text += char(code);
        }
        lines.push_back(line);
    }
    return lines;
}

// The lines joined: a wrapped text keeps each break space at the head of the next line, so
// this is the text as given.
inline std::string joined(const std::vector<DrawnLine>& lines) {
    std::string text;
    for (const DrawnLine& line : lines) text += line.text;
    return text;
}

}  // namespace screens_test
