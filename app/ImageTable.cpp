#include "app/ImageTable.h"

#include <cstdint>
#include <string>

#include "app/AppState.h"
#include "app/DashedLine.h"
#include "app/Palette.h"
#include "app/WorkScreen.h"
#include "gfx/Font.h"
#include "gfx/ImageLoader.h"
#include "gfx/Rasterizer.h"
#include "gfx/Surface.h"
#include "platform/Resources.h"

namespace {

// Transparent colours of the pictures: magenta for GIF buttons, white around the arrows, black
// around the square work-screen buttons.
constexpr std::int32_t kKeyMagenta = 0xF81F;
constexpr std::int32_t kKeyWhite = 0xFFFF;
constexpr std::int32_t kKeyBlack = 0x0000;
constexpr std::int32_t kNoKey = -1;

enum class Kind { Bitmap, Gif };

struct TableEntry {
    gfx::Surface* ScreenLayout::*field;
    Kind kind;
    std::int32_t wide;
    std::int32_t normal;
    std::int32_t key;
};

struct ButtonEntry {
    ButtonImage ScreenLayout::*field;
    Kind kind;
    std::int32_t wide;
    std::int32_t normal;
    std::int32_t key;
};

constexpr TableEntry kPictures[] = {
    {&ScreenLayout::pictureImage, Kind::Bitmap, 133, 133, kNoKey},
    {&ScreenLayout::vehicleSource, Kind::Gif, 157, 157, kNoKey},
    {&ScreenLayout::arrowRightImage, Kind::Bitmap, 188, 144, kKeyWhite},
    {&ScreenLayout::arrowLeftImage, Kind::Bitmap, 189, 145, kKeyWhite},
};

constexpr ButtonEntry kButtons[] = {
    {&ScreenLayout::imgZoomIn, Kind::Bitmap, 139, 134, kKeyBlack},
    {&ScreenLayout::imgZoomOut, Kind::Bitmap, 140, 135, kKeyBlack},
    {&ScreenLayout::imgWorkMenu, Kind::Bitmap, 141, 136, kKeyBlack},
    {&ScreenLayout::imgFinish, Kind::Bitmap, 143, 142, kKeyBlack},
    {&ScreenLayout::imgViewToggle, Kind::Gif, 162, 161, kKeyMagenta},
    {&ScreenLayout::imgStartFree, Kind::Gif, 179, 174, kKeyMagenta},
    {&ScreenLayout::imgStartAB, Kind::Gif, 180, 175, kKeyMagenta},
    {&ScreenLayout::imgReview, Kind::Gif, 183, 178, kKeyMagenta},
    {&ScreenLayout::imgStartMenu, Kind::Gif, 191, 190, kKeyMagenta},
    {&ScreenLayout::imgExit, Kind::Gif, 182, 177, kKeyMagenta},
    {&ScreenLayout::imgYes, Kind::Gif, 184, 164, kKeyMagenta},
    {&ScreenLayout::imgNo, Kind::Gif, 185, 163, kKeyMagenta},
    {&ScreenLayout::imgGpsSettings, Kind::Gif, 187, 170, kKeyMagenta},
    {&ScreenLayout::imgGpsCancel, Kind::Gif, 186, 169, kKeyMagenta},
};

// The night palette's pictures: every pixel dimmed but the transparent ones, and none
// dimmed into the transparent colour.
void dim(gfx::Surface* image) {
    if (!image || !image->buffer || !nightPalette()) return;
    // The vehicle has no key of its own: its magenta becomes the key of the scaled vehicle.
    const std::int32_t key = image->colourKey >= 0 ? image->colourKey : kKeyMagenta;
    for (std::int32_t y = 0; y < image->height(); ++y) {
        gfx::Pixel* row = image->row(y);
        for (std::int32_t x = 0; x < image->width(); ++x) {
            if (key >= 0 && row[x] == gfx::Pixel(key)) continue;
            const gfx::Pixel dimmed = dimmedPixel(row[x]);
            row[x] = key >= 0 && dimmed == gfx::Pixel(key) ? gfx::Pixel(dimmed ^ 0x0020) : dimmed;
        }
    }
}

// The picture drawn for a layout scale above the doubled one: "<normal id>-<scale>". Null when
// the program has none for that scale.
gfx::Surface* loadLarge(Kind kind, std::int32_t normal) {
    const std::string id =
        std::to_string(normal) + "-" + std::to_string(appState.layout.layoutScale);
    const auto bytes = platform::findResource(kind == Kind::Gif ? "GIF" : "BITMAP", id);
    if (bytes.empty()) return nullptr;
    return gfx::DecodeImageBytes(bytes.data(), bytes.data() + bytes.size());
}

gfx::Surface* loadPicture(Kind kind, std::int32_t wide, std::int32_t normal) {
    gfx::Surface* image = appState.layout.layoutScale >= 3 ? loadLarge(kind, normal) : nullptr;
    if (image) return image;
    const std::int32_t id = appState.layout.wideLayout ? wide : normal;
    return kind == Kind::Gif ? gfx::LoadGifResource(id) : gfx::LoadImageResource(id);
}

gfx::Surface* load(Kind kind, std::int32_t wide, std::int32_t normal, std::int32_t key) {
    gfx::Surface* image = loadPicture(kind, wide, normal);
    if (image) image->colourKey = key;
    dim(image);
    return image;
}

void replace(gfx::Surface*& field, gfx::Surface* image) {
    gfx::DestroySurface(field);
    field = image;
}

}  // namespace

void loadBackgroundImage() {
    AppState& s = appState;
    gfx::Surface* picture = loadPicture(Kind::Gif, 166, 156);
    const bool turned = s.layout.orientation == 1 || s.layout.orientation == 3;
    const bool fit = turned || s.layout.scaledLayout;
    if (picture && fit && s.layout.screenWidth > 0 && s.layout.screenHeight > 0) {
        // The picture is drawn for a portrait handheld screen; a turned one, or any other
        // screen, gets it stretched to fit.
        gfx::Surface* stretched = gfx::CreateSurface(s.layout.screenWidth, s.layout.screenHeight);
        if (stretched) {
            gfx::Rasterizer r(stretched);
            r.BlitStretch(gfx::Rect{0, 0, s.layout.screenWidth, s.layout.screenHeight}, picture);
            gfx::DestroySurface(picture);
            picture = stretched;
        }
    }
    dim(picture);
    replace(s.layout.backgroundImage, picture);
}

void loadScreenImages() {
    AppState& s = appState;
    for (const TableEntry& e : kPictures)
        replace(s.layout.*e.field, load(e.kind, e.wide, e.normal, e.key));
    for (const ButtonEntry& e : kButtons) {
        replace((s.layout.*e.field).image, load(e.kind, e.wide, e.normal, e.key));
    }
    const std::int32_t w = s.layout.screenWidth, h = s.layout.screenHeight;
    s.layout.pictureQuad[0] = {0, 0};
    s.layout.pictureQuad[1] = {w, 0};
    s.layout.pictureQuad[2] = {w, h};
    s.layout.pictureQuad[3] = {0, h};
    rebuildVehicleImage();
    gfx::DestroyFont(s.layout.readoutFont);
    s.layout.readoutFont = nullptr;
    if (s.layout.scaledLayout && s.layout.layoutScale >= 2)
        s.layout.readoutFont =
            gfx::CreateLargeFont(platform::findResource("FONTS", "155-32"), 16, 32);
    delete s.layout.dashLine;
    s.layout.dashLine = new DashedLine({10, 10});
}

void freeScreenImages() {
    AppState& s = appState;
    for (const TableEntry& e : kPictures) replace(s.layout.*e.field, nullptr);
    for (const ButtonEntry& e : kButtons) replace((s.layout.*e.field).image, nullptr);
    replace(s.layout.backgroundImage, nullptr);
    replace(s.layout.vehicleImage, nullptr);
    gfx::DestroyFont(s.layout.readoutFont);
    s.layout.readoutFont = nullptr;
    delete s.layout.dashLine;
    s.layout.dashLine = nullptr;
}
