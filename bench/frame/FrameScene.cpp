#include "bench/frame/FrameScene.h"

#include <cmath>

namespace bench {

namespace {
constexpr int kRecords = 2048;        // 2047 quads
constexpr int kRecordsPerPass = 100;  // 600 dm passes
constexpr double kPassWidth = 120.0;  // dm
constexpr double kRecordSpacing = 6.0;

struct FieldPoint {
    double x, y;
};

// The work screen's view: the newest record at the screen centre, north up, zoom pixels per dm.
gfx::Point toScreen(FieldPoint p, FieldPoint centre, double zoom) {
    return {int(kWidth / 2 + (p.x - centre.x) * zoom), int(kHeight / 2 - (p.y - centre.y) * zoom)};
}

bool onScreen(const gfx::Point& p) {
    return p.x >= 0 && p.x < kWidth && p.y >= 0 && p.y < kHeight;
}

gfx::Surface* picture(int width, int height, gfx::Pixel tint) {
    gfx::Surface* s = gfx::CreateSurface(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int dx = x - width / 2, dy = y - height / 2;
            bool inside = dx * dx * height * height + dy * dy * width * width <
                          width * width * height * height / 4;
            s->row(y)[x] = inside ? gfx::Pixel(tint ^ (x * 0x21 + y * 0x800)) : kKey;
        }
    s->colourKey = kKey;
    return s;
}

gfx::Font* font() {
    std::uint8_t bytes[gfx::Font::kSize] = {};
    for (int c = 33; c < 256; ++c)
        for (int r = 0; r < 10; ++r)
            bytes[c * 16 + r] = std::uint8_t(((c * 37 + r * 11) & 0x7E) | 0x81);
    return gfx::CreateFont(bytes);
}
}  // namespace

Scene makeScene() {
    std::vector<FieldPoint> left, right;
    for (int i = 0; i < kRecords; ++i) {
        int pass = i / kRecordsPerPass, along = i % kRecordsPerPass;
        bool north = pass % 2 == 0;
        double x = pass * kPassWidth;
        double y = (north ? along : kRecordsPerPass - 1 - along) * kRecordSpacing;
        // The implement's left edge is west of the track going north, east going south.
        double half = north ? -kPassWidth / 2 : kPassWidth / 2;
        left.push_back({x + half, y});
        right.push_back({x - half, y});
    }
    Scene scene;
    FieldPoint newest{(left.back().x + right.back().x) / 2, left.back().y};
    for (double zoom : {3.0, 0.3})
        for (int i = 0; i + 1 < kRecords; ++i) {
            ScreenQuad q{{toScreen(left[i], newest, zoom), toScreen(right[i], newest, zoom),
                          toScreen(right[i + 1], newest, zoom),
                          toScreen(left[i + 1], newest, zoom)}};
            bool any = false;
            for (const gfx::Point& p : q.corners) any |= onScreen(p);
            if (any) scene.quads.push_back(q);
        }
    scene.vehicle = picture(60, 90, 0x2D6A);
    scene.button = picture(96, 96, 0xC618);
    scene.font = font();
    return scene;
}

void drawOurs(gfx::Rasterizer& r, const Scene& scene) {
    r.Clear(kBackground);
    for (const ScreenQuad& q : scene.quads) {
        r.FillConvex(q.corners, 4, kTrack);
        r.DrawLine(q.corners[0].x, q.corners[0].y, q.corners[3].x, q.corners[3].y, 0);
        r.DrawLine(q.corners[1].x, q.corners[1].y, q.corners[2].x, q.corners[2].y, 0);
    }
    r.DrawThickLine(0, 200, kWidth, 260, 0xF800);
    r.DrawThickLine(0, 320, kWidth, 320, 0xF800);
    r.DrawThickLine(40, 0, 440, kHeight, 0xF800);
    r.BlitRotated(kWidth / 2, kHeight / 2 + 45, 0.3f, scene.vehicle);
    r.DrawString(scene.font, scene.lines[0], gfx::kAlignCentre, 0, 40, 0xFFFF);
    r.DrawString(scene.font, scene.lines[1], gfx::kAlignCentre, 0, 60, 0xFFFF);
    for (int i = 0; i < 5; ++i) r.Blit(i * 96, kHeight - 96, scene.button);
}

}  // namespace bench
