#include "bench/frame/CairoScene.h"

#include <cstring>

namespace bench {

namespace {
void setColour(cairo_t* cr, gfx::Pixel p) {
    cairo_set_source_rgb(cr, ((p >> 11) & 31) / 31.0, ((p >> 5) & 63) / 63.0, (p & 31) / 31.0);
}

cairo_surface_t* withAlpha(const gfx::Surface& s) {
    cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, s.width(), s.height());
    unsigned char* data = cairo_image_surface_get_data(out);
    int stride = cairo_image_surface_get_stride(out);
    for (int y = 0; y < s.height(); ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
        for (int x = 0; x < s.width(); ++x) {
            gfx::Pixel p = s.pixel(x, y);
            if (std::int32_t(p) == s.colourKey) {
                row[x] = 0;
                continue;
            }
            std::uint32_t r = (p >> 11) << 3, g = ((p >> 5) & 63) << 2, b = (p & 31) << 3;
            row[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    }
    cairo_surface_mark_dirty(out);
    return out;
}

cairo_surface_t* glyphMask(const gfx::Font& font, int code) {
    cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_A1, 8, 16);
    unsigned char* data = cairo_image_surface_get_data(out);
    int stride = cairo_image_surface_get_stride(out);
    for (int r = 0; r < 16; ++r) {
        std::uint8_t bits = font.glyph(std::uint8_t(code))[r], reversed = 0;
        // A1 keeps the leftmost pixel in the lowest bit on little-endian machines.
        for (int b = 0; b < 8; ++b)
            if (bits & (0x80 >> b)) reversed |= std::uint8_t(1 << b);
        std::memset(data + r * stride, 0, std::size_t(stride));
        data[r * stride] = reversed;
    }
    cairo_surface_mark_dirty(out);
    return out;
}
}  // namespace

CairoScene::CairoScene(const Scene& scene) : scene(scene) {
    target = cairo_image_surface_create(CAIRO_FORMAT_RGB16_565, kWidth, kHeight);
    cr = cairo_create(target);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    vehicle = withAlpha(*scene.vehicle);
    button = withAlpha(*scene.button);
    for (int c = 0; c < 256; ++c) glyphs[c] = glyphMask(*scene.font, c);
}

CairoScene::~CairoScene() {
    for (cairo_surface_t* g : glyphs) cairo_surface_destroy(g);
    cairo_surface_destroy(button);
    cairo_surface_destroy(vehicle);
    cairo_destroy(cr);
    cairo_surface_destroy(target);
}

void CairoScene::draw() {
    setColour(cr, kBackground);
    cairo_paint(cr);
    cairo_set_line_width(cr, 1.0);
    for (const ScreenQuad& q : scene.quads) {
        const gfx::Point* c = q.corners;
        cairo_move_to(cr, c[0].x, c[0].y);
        for (int i = 1; i < 4; ++i) cairo_line_to(cr, c[i].x, c[i].y);
        cairo_close_path(cr);
        setColour(cr, kTrack);
        cairo_fill(cr);
        cairo_move_to(cr, c[0].x + 0.5, c[0].y + 0.5);
        cairo_line_to(cr, c[3].x + 0.5, c[3].y + 0.5);
        cairo_move_to(cr, c[1].x + 0.5, c[1].y + 0.5);
        cairo_line_to(cr, c[2].x + 0.5, c[2].y + 0.5);
        setColour(cr, 0);
        cairo_stroke(cr);
    }
    setColour(cr, 0xF800);
    cairo_set_line_width(cr, 5.0);
    const int lines[3][4] = {{0, 200, kWidth, 260}, {0, 320, kWidth, 320}, {40, 0, 440, kHeight}};
    for (const auto& l : lines) {
        cairo_move_to(cr, l[0], l[1]);
        cairo_line_to(cr, l[2], l[3]);
        cairo_stroke(cr);
    }
    cairo_save(cr);
    cairo_translate(cr, kWidth / 2, kHeight / 2 + 45);
    cairo_rotate(cr, 0.3);
    cairo_set_source_surface(cr, vehicle, -30, -90);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
    setColour(cr, 0xFFFF);
    for (int line = 0; line < 2; ++line) {
        const char* text = scene.lines[line];
        int n = int(std::strlen(text));
        int x = (kWidth + 1 - 9 * n) / 2;
        for (int k = 0; k < n; ++k)
            cairo_mask_surface(cr, glyphs[std::uint8_t(text[k])], x + 9 * k, 40 + 20 * line);
    }
    for (int i = 0; i < 5; ++i) {
        cairo_set_source_surface(cr, button, i * 96, kHeight - 96);
        cairo_paint(cr);
    }
    cairo_surface_flush(target);
}

}  // namespace bench
