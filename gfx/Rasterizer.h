// The drawing context of the program: bound to one surface, clipped to a rectangle, writing
// every pixel through its current shader (plain copy or global-alpha blending). Drawing never
// fails: out-of-range input is clipped or ignored, and nothing is ever written outside the
// target. A rasterizer is not meant to be used from two threads at once.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "gfx/AlphaShader.h"
#include "gfx/Font.h"
#include "gfx/Pixel.h"
#include "gfx/PixelShader.h"
#include "gfx/Rect.h"
#include "gfx/Surface.h"

namespace gfx {

struct PolygonEdge;
struct PatternEdge;

// A closed outline for FillPolygon.
struct Polygon {
    std::int32_t count = 0;
    const Point* points = nullptr;
};

// Horizontal placement of DrawString.
enum TextAlignment : std::int32_t {
    kAlignAtX = 0,     // starts at the given x
    kAlignLeft = 1,    // starts at column 0
    kAlignCentre = 2,  // (W + 1 - 9n) / 2
    kAlignRight = 3,   // W + 1 - 9n
};

class Rasterizer {
  public:
    explicit Rasterizer(Surface* target = nullptr);
    Rasterizer(const Rasterizer&) = delete;
    Rasterizer& operator=(const Rasterizer&) = delete;
    virtual ~Rasterizer();

    // Binds a new target (or none) and resets the clip to the whole of it; returns the previous.
    Surface* BindTarget(Surface* target);
    Surface* Target() const { return target_; }
    const Rect& Clip() const { return clip_; }
    // Narrows drawing to rect; always kept inside the target, so an empty clip draws nothing.
    void SetClip(const Rect& rect);

    // Alpha 252..255 draws opaque; any other value blends every written pixel by alpha/256.
    void SetBlending(std::uint32_t alpha);
    void ResetBlending();
    PixelShader* Shader() const { return shader_; }

    // The whole target, ignoring the clip.
    void Clear(Pixel colour);
    // Ignored outside the target's bounds (the clip is not consulted).
    void SetPixel(std::int32_t x, std::int32_t y, Pixel colour);
    void DrawHLine(std::int32_t x, std::int32_t y, std::int32_t length, Pixel colour);
    void DrawVLine(std::int32_t x, std::int32_t y, std::int32_t length, Pixel colour);
    // Rows top..bottom-1, columns left..right-1.
    void FillRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                  Pixel colour);
    // Vertical and horizontal lines leave out their lower or right end point; other lines
    // include both.
    void DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, Pixel colour);
    // A line 5 pixels wide.
    void DrawThickLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                       Pixel colour);
    // A convex outline filled row by row; 1 point draws a pixel, 2 points a line. Rows of
    // level edges belong to no span; with levelEdges they are drawn too, so that outlines
    // sharing a level edge (the records of the worked strip) leave no row between them.
    void FillConvex(const Point* points, std::int32_t count, Pixel colour, bool levelEdges = false);
    // Even-odd scanline fill of the outline shifted by (offsetX, offsetY). False only when
    // the edge memory could not be had; fewer than 3 points draw nothing and give true.
    bool FillPolygon(const Polygon& polygon, Pixel colour, std::int32_t offsetX = 0,
                     std::int32_t offsetY = 0);
    // Covers the outline with pattern repeated from the surface origin.
    void FillPolygonPattern(const Point* points, std::int32_t count, const Surface* pattern);
    // Copies sourceRect (whole source when null) with its top-left corner at (x, y), leaving
    // out the source's key pixels when it has a key.
    void Blit(std::int32_t x, std::int32_t y, const Surface* source,
              const Rect* sourceRect = nullptr);
    // Scales sourceRect (whole source when null) to fill destination, nearest neighbour.
    void BlitStretch(const Rect& destination, const Surface* source,
                     const Rect* sourceRect = nullptr);
    // Draws source turned clockwise by angle (radians) about the middle of its bottom edge,
    // which lands at (x, y).
    void BlitRotated(std::int32_t x, std::int32_t y, float angle, const Surface* source);

    // count characters of text (all when 0) with the given alignment, top row at y, one cell
    // (glyph and a column of spacing: 9 pixels for the 8 x 16 font) per character; each ink
    // pixel through SetPixel. Nothing for a null font or empty text.
    void DrawString(const Font* font, const char* text, std::int32_t alignment, std::int32_t x,
                    std::int32_t y, Pixel colour, std::int32_t count = 0);
    // The same with every font pixel drawn as a scale x scale square.
    void DrawStringScaled(const Font* font, const char* text, std::int32_t alignment,
                          std::int32_t x, std::int32_t y, Pixel colour, std::int32_t scale,
                          std::int32_t count = 0);
    // Texts of 25 characters or more are broken at spaces into lines a cell height apart.
    void DrawWrappedString(const Font* font, const char* text, std::int32_t alignment,
                           std::int32_t x, std::int32_t y, Pixel colour);

  private:
    bool ClipRect(Rect& rect) const;
    bool ClipLine(std::int32_t& x1, std::int32_t& y1, std::int32_t& x2, std::int32_t& y2) const;
    void DrawGlyphs(const Font* font, const char* text, std::int32_t count, std::int32_t x,
                    std::int32_t y, Pixel colour, std::int32_t scale);
    void PatternSpan(std::int32_t y, std::int32_t xa, std::int32_t xb, const Surface* pattern);
    bool ReservePolygonEdges(std::int32_t count);

    Surface* target_ = nullptr;
    Rect clip_;
    PixelShader* shader_;
    std::unique_ptr<AlphaShader> alphaShader_;

    // Kept between calls so that filling allocates only when a larger target or outline
    // comes along; only the rows a primitive spans are touched.
    std::vector<std::int32_t> convexFirst_;
    std::vector<std::int32_t> convexSecond_;
    std::unique_ptr<PolygonEdge[]> polygonEdges_;
    std::int32_t polygonEdgeCapacity_ = 0;
    std::vector<PolygonEdge*> polygonActive_;
    std::vector<PatternEdge> patternEdges_;
    std::vector<std::int32_t> patternCrossings_;
};

}  // namespace gfx
